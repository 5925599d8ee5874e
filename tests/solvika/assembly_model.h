// Small assembly models for the tests: control arrays built from node DOF
// counts, element node lists, DOF statuses and constraint equations.
#pragma once

#include "solver/solvika.h"

#include <cstdint>
#include <vector>

namespace solvika::test {

struct Master {
    std::int32_t dof;
    double coef;
};

struct ConstraintEq {
    std::int32_t slave;
    double c0;
    std::vector<Master> masters;
};

struct AsmModel {
    std::vector<std::int32_t> mpar = std::vector<std::int32_t>(50, 0);
    std::vector<std::int32_t> mndptr, mexnod, mpelnd, melnod, msc, mpmceq, mcqdof, mnnn;
    std::vector<double> cqcoef;
    std::vector<std::int32_t> mdofeq, msky, work;

    std::int32_t nanod() const { return mpar[0]; }
    std::int32_t nel() const { return mpar[1]; }
    std::int32_t ndof() const { return mpar[2]; }
    std::int32_t neq() const { return mpar[10]; }

    // Runs the pre-assembly into this model's tables.
    std::int32_t prassx(std::int32_t lunit = 0)
    {
        mdofeq.assign(std::max<std::size_t>(msc.size(), 1), 0);
        msky.assign(std::max<std::size_t>(msc.size(), 1), 0);
        work.assign(std::max<std::int32_t>(nanod(), 1), 0);
        std::int32_t ierr = 99;
        PRASSX(mndptr.data(), mexnod.data(), mpelnd.data(), melnod.data(), msc.data(),
               mpmceq.data(), mcqdof.data(), mnnn.data(), lunit, mpar.data(), work.data(),
               mdofeq.data(), msky.data(), ierr);
        return ierr;
    }
};

// dofsPerNode[n-1] DOFs at node n; elements as lists of nodes; msc per DOF;
// new node numbers identity unless given; external numbers 10 n.
inline AsmModel makeModel(const std::vector<int>& dofsPerNode,
                          const std::vector<std::vector<int>>& elements,
                          const std::vector<std::int32_t>& msc,
                          const std::vector<ConstraintEq>& constraints,
                          std::vector<std::int32_t> mnnn = {})
{
    AsmModel m;
    const int nanod = int(dofsPerNode.size());
    m.mndptr.push_back(1);
    for (int n = 0; n < nanod; ++n) {
        m.mndptr.push_back(m.mndptr.back() + dofsPerNode[n]);
        m.mexnod.push_back(10 * (n + 1));
    }
    m.mpelnd.push_back(1);
    for (const auto& e : elements) {
        for (int node : e)
            m.melnod.push_back(node);
        m.mpelnd.push_back(std::int32_t(m.melnod.size()) + 1);
    }
    m.msc = msc;
    m.mpmceq.push_back(1);
    for (const ConstraintEq& c : constraints) {
        m.mcqdof.push_back(c.slave);
        m.cqcoef.push_back(c.c0);
        for (const Master& s : c.masters) {
            m.mcqdof.push_back(s.dof);
            m.cqcoef.push_back(s.coef);
        }
        m.mpmceq.push_back(std::int32_t(m.mcqdof.size()) + 1);
    }
    if (m.mcqdof.empty()) { // keep data() valid
        m.mcqdof.push_back(0);
        m.cqcoef.push_back(0.0);
    }
    if (mnnn.empty())
        for (int n = 1; n <= nanod; ++n)
            mnnn.push_back(n);
    m.mnnn = mnnn;
    if (m.mexnod.empty())
        m.mexnod.push_back(0);
    m.mpar[0] = nanod;
    m.mpar[1] = std::int32_t(elements.size());
    m.mpar[2] = m.mndptr.back() - 1;
    m.mpar[6] = std::int32_t(constraints.size());
    return m;
}

} // namespace solvika::test
