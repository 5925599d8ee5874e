// The order in which an element's values are added to a sparse matrix.
#pragma once

#include <vector>

#include "matrix/sparsematrix.h"

namespace zelkor::detail {

// The positions of an element's non-negative DOFs in ascending DOF order
// (see CSparseMatrix::OrderDofs). Up to 64 DOFs are held on the stack, so
// adding an ordinary element allocates nothing.
class DofOrder {
public:
    DofOrder(const LONG* dofs, int n)
    {
        if (n > kLocal) {
            m_heap.resize(static_cast<std::size_t>(n));
            m_order = m_heap.data();
        }
        m_count = CSparseMatrix::OrderDofs(dofs, n, m_order);
    }
    DofOrder(const DofOrder&) = delete;
    DofOrder& operator=(const DofOrder&) = delete;

    // How many DOFs are not negative.
    int size() const { return m_count; }
    // The position, in the element, of the a-th DOF in ascending order.
    int operator[](int a) const { return m_order[a]; }

private:
    static constexpr int kLocal = 64;
    int m_local[kLocal];
    std::vector<int> m_heap;
    int* m_order = m_local;
    int m_count = 0;
};

} // namespace zelkor::detail
