// Shared helpers of the sparse solver's source files (not a public header).
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace solvika::spx {

// Writes the library error message K of routine NAME (through LINERR).
void report(std::int32_t K, std::string_view name, std::int32_t I1, std::int32_t I2,
            std::int32_t I3, std::int32_t LUNIT, std::int32_t IERR);

// Entry test of every sparse routine: after an uncleared error, sets
// MSPAR(1) = -phase, reports error 30 and returns true (IERR = -1).
bool refuse(std::int32_t* MSPAR, std::int32_t phase, std::string_view name, std::int32_t LUNIT,
            std::int32_t& IERR);

// Local DOF number and external node of DOF IDOF (0, 0 when none).
void dofNode(const std::int32_t* MNDPTR, const std::int32_t* MEXNOD, std::int32_t NANOD,
             std::int32_t IDOF, std::int32_t& LDOF, std::int32_t& NODE);

// The nonzero entries of a symmetric matrix held in the packed trapezoids
// of the supernodal storage, column by column in the storage's order: the
// equation of each column, its diagonal entry (kept even when zero) and its
// nonzero entries below the diagonal with their rows. A matrix with the
// sparsity of an unfactored one (the geometric stiffness of a buckling run)
// has a small part of the factor's entries; a product over these gives the
// same sums as SPRPRM's over all of them, term by term, without the zero
// terms.
struct PackedNonzeros {
    std::vector<std::int32_t> column;  // 1-based equation
    std::vector<double> diagonal;
    std::vector<std::int64_t> start;   // entries of column c: start[c] .. start[c + 1] - 1
    std::vector<std::int32_t> row;     // 1-based equation
    std::vector<double> value;
};

// The nonzeros of the packed part A (as SPRPRM takes it) of the matrix on
// the storage MSPAR, MTREES, MSIFA.
PackedNonzeros packNonzeros(const std::int32_t* MSPAR, const std::int32_t* MTREES, const std::int32_t* MSIFA,
                            const double* A);

// W := A X (NEQ entries each; X and W apart).
void multiply(const PackedNonzeros& A, const double* X, double* W, std::int32_t neq);

// SPRSMM, with the products by B over `nonzeros` when given (B stored
// like the factor, KSB 0 or 1) in place of its packed trapezoids.
void operatorProduct(const double* SM, const double* B, double* X, double* Y, double* W, std::int32_t* MSPAR,
                     const std::int32_t* MTREES, const std::int32_t* MSIFA, std::int32_t* IWORK, std::int32_t LDB,
                     std::int32_t KSA, std::int32_t KSB, std::int32_t IFLAG, std::int32_t LUNIT, std::int32_t& IERR,
                     const PackedNonzeros* nonzeros);

} // namespace solvika::spx
