#include "matrix/complex.h"

#include <cmath>
#include <complex>
#include <iostream>

complex_d& complex_d::operator=(double v)
{
    re = v;
    im = 0.0;
    return *this;
}

complex_d& complex_d::operator()(double r, double i)
{
    re = r;
    im = i;
    return *this;
}

bool complex_d::operator>(const complex_d& b) const
{
    return fabs(*this) > fabs(b);
}

bool complex_d::operator<(const complex_d& b) const
{
    return fabs(*this) < fabs(b);
}

complex_d& complex_d::Conj()
{
    im = -im;
    return *this;
}

complex_d& complex_d::Inv()
{
    const double d = re * re + im * im;
    re = re / d;
    im = -im / d;
    return *this;
}

complex_d& complex_d::operator+=(double v)
{
    re += v;
    return *this;
}

complex_d& complex_d::operator-=(double v)
{
    re -= v;
    return *this;
}

complex_d& complex_d::operator*=(double v)
{
    re *= v;
    im *= v;
    return *this;
}

complex_d& complex_d::operator/=(double v)
{
    re /= v;
    im /= v;
    return *this;
}

complex_d complex_d::operator*(const complex_d& b) const
{
    return {re * b.re - im * b.im, re * b.im + im * b.re};
}

complex_d complex_d::operator/(const complex_d& b) const
{
    const double d = b.re * b.re + b.im * b.im;
    return {(re * b.re + im * b.im) / d, (im * b.re - re * b.im) / d};
}

complex_d& complex_d::operator+=(const complex_d& b)
{
    re += b.re;
    im += b.im;
    return *this;
}

complex_d& complex_d::operator-=(const complex_d& b)
{
    re -= b.re;
    im -= b.im;
    return *this;
}

complex_d& complex_d::operator*=(const complex_d& b)
{
    return *this = *this * b;
}

complex_d& complex_d::operator/=(const complex_d& b)
{
    return *this = *this / b;
}

void complex_d::COUT() const
{
    std::cout << re << ' ';
    if (im > 0.0)
        std::cout << '+' << im << 'i';
    else if (im < 0.0)
        std::cout << im << 'i';
    std::cout << std::endl;
}

double fabs(const complex_d& z)
{
    return std::hypot(z.re, z.im);
}

complex_d sqrt(const complex_d& z)
{
    const std::complex<double> root = std::sqrt(std::complex<double>(z.re, z.im));
    return {root.real(), root.imag()};
}
