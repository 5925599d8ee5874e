// Metric units (iStandard 0, the first unit of the mass-density row) while
// it lives; the previous choice comes back.
#pragma once

#include "platform/dimvor/units.h"

namespace pavesta_test
{

class MetricUnitsScope
{
public:
    MetricUnitsScope() : m_iOldStandard(iStandard), m_iOldUnit{iConv[0][4][0], iConv[1][4][0]}
    {
        iStandard = 0;
        iConv[0][4][0] = 0;
        iConv[1][4][0] = 0;
    }
    ~MetricUnitsScope()
    {
        iStandard = m_iOldStandard;
        iConv[0][4][0] = m_iOldUnit[0];
        iConv[1][4][0] = m_iOldUnit[1];
    }
    MetricUnitsScope(const MetricUnitsScope&) = delete;
    MetricUnitsScope& operator=(const MetricUnitsScope&) = delete;

private:
    int m_iOldStandard;
    int m_iOldUnit[2];
};

} // namespace pavesta_test
