// complex_d: a complex number of two doubles with arithmetic, ordering by
// modulus and exact comparisons. Division by zero follows the floating-point
// rules (infinities and not-a-numbers).
#pragma once

struct complex_d {
    double re = 0.0;
    double im = 0.0;

    complex_d() = default;
    complex_d(double r, double i) : re(r), im(i) {}

    complex_d& operator=(double v);
    complex_d& operator()(double r, double i);

    // Imaginary part exactly 0 / real part exactly 0.
    bool IsReal() const { return im == 0.0; }
    bool IsIm() const { return re == 0.0; }

    bool operator==(double v) const { return re == v && im == 0.0; }
    bool operator!=(double v) const { return !(*this == v); }
    bool operator==(const complex_d& b) const { return re == b.re && im == b.im; }
    bool operator!=(const complex_d& b) const { return !(*this == b); }
    // Modulus strictly greater / less.
    bool operator>(const complex_d& b) const;
    bool operator<(const complex_d& b) const;

    // In place: negates the imaginary part.
    complex_d& Conj();
    // In place: 1 / z.
    complex_d& Inv();

    // With a real number: + and - act on the real part, * and / on both.
    complex_d operator+(double v) const { return {re + v, im}; }
    complex_d operator-(double v) const { return {re - v, im}; }
    complex_d operator*(double v) const { return {re * v, im * v}; }
    complex_d operator/(double v) const { return {re / v, im / v}; }
    complex_d& operator+=(double v);
    complex_d& operator-=(double v);
    complex_d& operator*=(double v);
    complex_d& operator/=(double v);

    complex_d operator+(const complex_d& b) const { return {re + b.re, im + b.im}; }
    complex_d operator-(const complex_d& b) const { return {re - b.re, im - b.im}; }
    complex_d operator*(const complex_d& b) const;
    complex_d operator/(const complex_d& b) const;
    complex_d& operator+=(const complex_d& b);
    complex_d& operator-=(const complex_d& b);
    complex_d& operator*=(const complex_d& b);
    complex_d& operator/=(const complex_d& b);

    // Writes "re im" to standard output: the real part, a blank, the
    // imaginary part with its sign and "i" (nothing when it is 0), a line end.
    void COUT() const;
};

// The modulus.
double fabs(const complex_d& z);
// The principal square root (non-negative real part).
complex_d sqrt(const complex_d& z);
