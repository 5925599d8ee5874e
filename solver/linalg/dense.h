// Small dense kernels of the solver library: node-axis transformation of
// element matrices and vectors, symmetric inversion, dense LDL^T solution,
// the scalar product used by every skyline kernel, machine constants and
// fill/scale/copy helpers.
//
// Calling convention of the library routines: arrays are passed as a pointer
// to their first entry (entry "1"), stored column-major with the leading
// dimension equal to the row count; integers are 32-bit, reals 64-bit.
// Scalar inputs are passed by value, scalar outputs by reference. Routines
// that report failures set IERR (0 on success, negative on failure) and write
// their diagnostic lines to the log unit LUNIT through the formatted writer.
#pragma once

#include <cstdint>

namespace solvika {

// A := G^T A G, G the identity of order M holding T (N x N) in rows and
// columns K..K+N-1. A is M x M symmetric (both triangles stored and
// returned). W is work of N reals. IERR -1: illegal M, N or K.
void MATTRA(const double* T, double* A, double* W, std::int32_t M, std::int32_t N,
            std::int32_t K, std::int32_t LUNIT, std::int32_t& IERR);

// V(K..K+N-1) := T times it (IFLAG 1) or T^T times it (IFLAG 2); any other
// IFLAG changes nothing. W is work of N reals. IERR -1: illegal M, N or K.
void VECTRA(const double* T, double* V, double* W, std::int32_t M, std::int32_t N,
            std::int32_t K, std::int32_t IFLAG, std::int32_t LUNIT, std::int32_t& IERR);

// A (N x N symmetric, upper triangle read) := A^-1, both triangles returned.
// IERR -1: N < 1; -2: singular or near-singular (|D(i)| < EPS |A(i,i)|).
// Writes its lines when LUNIT >= 0.
void SYMINV(double* A, double EPS, std::int32_t N, std::int32_t LUNIT, std::int32_t& IERR);

// Dense LDL^T of A (NEQ x NEQ, upper triangle used, factors stored there)
// and/or solution for the NRHS columns of B (NEQ rows):
// KODE 1 factorise; 2 factorise and solve; 3 solve with existing factors;
// 4 forward reduction only; 5 division by D and back substitution only.
// IERR -1 illegal arguments, -2 zero pivot, -3 |D(i)| < EPS |A(i,i)|.
void SOLDLT(double* A, double* B, double EPS, std::int32_t NEQ, std::int32_t NRHS,
            std::int32_t LUNIT, std::int32_t KODE, std::int32_t& IERR);

// Sum over i = 1..N of X(1+(i-1)INCX) Y(1+(i-1)INCY); 0 when N <= 0.
double SCAPRD(const double* X, const double* Y, std::int32_t INCX, std::int32_t INCY,
              std::int32_t N);

// Machine constants by code (3: decimal digits of the reals).
std::int32_t MACHCN(std::int32_t code);

// IA(1..M N) = IVAL.
void IFILL(std::int32_t* IA, std::int32_t M, std::int32_t N, std::int32_t IVAL);
// A(1..M N) = VAL.
void RFILL(double* A, std::int32_t M, std::int32_t N, double VAL);
// B(1..M N) = S A(1..M N).
void SCALEV(const double* A, double* B, std::int32_t M, std::int32_t N, double S);
// B(1..M N) = A(1..M N), negated when KODE < 0.
void COPYV(const double* A, double* B, std::int32_t M, std::int32_t N, std::int32_t KODE);

} // namespace solvika
