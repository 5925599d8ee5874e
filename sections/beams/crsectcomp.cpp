#include "sections/beams/crsectcomp.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "glstyle/tincora.h"
#include "platform/ferrand/material.h"

IMPLEMENT_SERIAL_ABSTRACT(CCrSectComp, CSectComp, VERSIONABLE_SCHEMA | 0)

WORD CCrSectComp::m_sVersion = 0;
const double CCrSectComp::m_dDefaultForces[kForceCount] = {1000.0, 1e6, 1e6, 1000.0,
                                                           1000.0, 1e6, 1e6, 1e9};
long CCrSectComp::m_lWriteLogFile = 1;
CString CCrSectComp::m_strLFileEx = ".txt";

namespace
{

// A result below this fraction of the section's extent is exactly 0.
constexpr double kCoordSnap = 1e-12;
// Stored value 26 counts as 0 below this fraction of the larger of 24, 25.
constexpr double kS26Snap = 1e-5;

bool IsFree(const CSNode* node)
{
    return !node->IsConnected() && node->GetGraphCount() == 0;
}

bool IsAxisNode(const CAxis* axis, const CObject* object)
{
    return axis && object &&
           (object == axis->GetOrigin() || object == axis->GetXNode() ||
            object == axis->GetZNode());
}

double Quotient(double a, double b)
{
    return b != 0.0 ? a / b : 0.0;
}

} // namespace

CCrSectComp::CCrSectComp()
{
    std::copy(m_dDefaultForces, m_dDefaultForces + kForceCount, m_dForces);
    m_strName = "Cross section";
}

CCrSectComp::~CCrSectComp()
{
    DeleteReferencePoints();
    delete m_pAuxObject;
    // The materials belong to the owner of the section.
    m_MaterialList.RemoveAll();
}

void CCrSectComp::DeleteReferencePoints()
{
    // The shear node goes only when it is a node of its own: a node that a
    // region or the axis also holds is deleted by them.
    const bool deleteShear = m_pShearNode && m_bOwnsShearNode && IsFree(m_pShearNode) &&
                             !IsAxisNode(m_pAxis, m_pShearNode);
    delete m_pAxis; // deletes its nodes that belong to no graph
    m_pAxis = nullptr;
    if (deleteShear)
        delete m_pShearNode;
    m_pShearNode = nullptr;
    m_bOwnsShearNode = true;
}

// ------------------------------------------------------------ archive

void CCrSectComp::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        CObList::Serialize(ar);
        m_MaterialList.Serialize(ar);
        ar << WORD(0);
        ar << m_dFactor << LONG(m_iActVal) << m_strName;
        ar << m_pAuxObject << static_cast<const CObject*>(m_pAxis)
           << static_cast<const CObject*>(m_pShearNode);
        for (double v : m_dProps)
            ar << v;
        ar << m_dPrincAngle << LONG(m_bFlag ? 1 : 0) << LONG(m_iSetting) << m_dArea;
        for (double v : m_dForces)
            ar << v;
        for (int j = 0; j < kTableSize; ++j)
            ar << m_dTable1[j] << m_dTable2[j];
        return;
    }

    // The section owns its regions (each a new one, read here) and points
    // at its materials (the owner's). The lists hold only accepted entries,
    // however the reading ends.
    CObject::Serialize(ar);
    ar.ReadListEntries(*this, [](CArchive& a) -> CObject* {
        CSection* section = a.ReadObjectAs<CSection>(RUNTIME_CLASS(CSection), CArchive::useOwned);
        if (!section)
            AfxThrowArchiveException(CArchiveException::badClass);
        return section;
    });
    ar.ReadListEntries(m_MaterialList, [](CArchive& a) -> CObject* {
        CMaterial* material = a.ReadObjectAs<CMaterial>(RUNTIME_CLASS(CMaterial));
        if (!material)
            AfxThrowArchiveException(CArchiveException::badClass);
        return material;
    });

    LONG l = 0;
    ar >> m_sVersion;
    ar >> m_dFactor >> l;
    m_iActVal = l;
    ar >> m_strName;
    // What the section held before gives way to what the archive holds.
    DeleteReferencePoints();
    delete m_pAuxObject;
    m_pAuxObject = nullptr;
    // The section owns its auxiliary object and axis (new objects, read
    // here); the shear node is its own when it is new here, else a node a
    // region holds too, which the section never frees.
    // Nodes and edges are never auxiliary objects: objects read after them
    // may link them into their own lists (a node deletes the edges it
    // lists), and the section would then free what another object holds.
    // They are refused before anything else is read, so that no later
    // failure leaves the section holding one.
    CObject* aux = ar.ReadCheckedObject(nullptr, CArchive::useOwned);
    if (aux && (aux->IsKindOf(RUNTIME_CLASS(CSNode)) || aux->IsKindOf(RUNTIME_CLASS(CEdge))))
        AfxThrowArchiveException(CArchiveException::badIndex);
    m_pAuxObject = aux;
    m_pAxis = ar.ReadObjectAs<CAxis>(RUNTIME_CLASS(CAxis), CArchive::useOwned);
    m_pShearNode = ar.ReadObjectAs<CSNode>(RUNTIME_CLASS(CSNode), CArchive::useOwnedIfNew,
                                           &m_bOwnsShearNode);
    if (!DropSharedReferences())
        AfxThrowArchiveException(CArchiveException::badIndex);
    for (double& v : m_dProps)
        ar >> v;
    ar >> m_dPrincAngle >> l;
    m_bFlag = l == 1;
    ar >> l;
    m_iSetting = l;
    ar >> m_dArea;
    for (double& v : m_dForces)
        ar >> v;
    for (int j = 0; j < kTableSize; ++j)
        ar >> m_dTable1[j] >> m_dTable2[j];
    if (m_pShearNode)
        m_pShearNode->SetID(kShearNodeID);
    if (m_pAxis)
        m_pAxis->GetOrigin()->SetID(kOriginID);
}

bool CCrSectComp::DropSharedReferences()
{
    bool ok = true;
    // The shear node must not be one of the axis nodes.
    if (IsAxisNode(m_pAxis, m_pShearNode)) {
        m_pShearNode = nullptr;
        ok = false;
    }
    // The auxiliary object must be nothing else this section holds. The
    // owned read has made it new (not this section, a region or material
    // read before it, nor the axis).
    CObject* aux = m_pAuxObject;
    if (aux && (aux == m_pShearNode || IsAxisNode(m_pAxis, aux))) {
        m_pAuxObject = nullptr;
        ok = false;
    }
    return ok;
}

// ------------------------------------------------------------ composite operations

void CCrSectComp::Copy(CSectComp*& target, bool withCopies)
{
    if (!target)
        return;
    CSectComp::Copy(target, withCopies);
    if (!target->IsKindOf(RUNTIME_CLASS(CCrSectComp)))
        return;
    CCrSectComp* to = static_cast<CCrSectComp*>(target);
    to->AddMaterial(&m_MaterialList);
    to->m_bFlag = m_bFlag;
    to->m_dPrincAngle = m_dPrincAngle;
    std::copy(std::begin(m_dProps), std::end(m_dProps), to->m_dProps);
    to->m_dArea = m_dArea;
    std::copy(std::begin(m_dAxisColor), std::end(m_dAxisColor), to->m_dAxisColor);
    to->m_iSetting = m_iSetting;
    std::copy(std::begin(m_dForces), std::end(m_dForces), to->m_dForces);
    if (!withCopies)
        return;
    for (POSITION pos = m_MaterialList.GetHeadPosition(); pos;) {
        CMaterial* material = static_cast<CMaterial*>(m_MaterialList.GetNext(pos));
        to->ReplaceMaterial(material, material->Copy());
    }
}

void CCrSectComp::ResetParam()
{
    m_dPrincAngle = 0.0;
    std::fill(std::begin(m_dProps), std::end(m_dProps), 0.0);
    DeleteReferencePoints();
}

CObject* CCrSectComp::GetObjectFromString(CString name)
{
    if (name == m_strName)
        return this;
    if (CMaterial* material = FindMaterial(m_MaterialList, name))
        return material;
    return CSectComp::GetObjectFromString(name);
}

void CCrSectComp::Translate(double dx, double dy, double dz)
{
    CSectComp::Translate(dx, dy, dz);
    if (m_pShearNode)
        m_pShearNode->Translate(dx, dy, dz, false);
    if (m_pAxis)
        m_pAxis->Translate(dx, dy, dz);
}

void CCrSectComp::Rotate(double angle, double c1, double c2, unsigned axis, bool update)
{
    CSectComp::Rotate(angle, c1, c2, axis, update);
    // The reference points turn with the regions as the nodes of a graph
    // that lives only for this turn: it takes no identifier, and its nodes
    // leave it before it goes so that it deletes none of them.
    CGraph* turn = new CGraph;
    --CGraph::lIDGraph;
    turn->NewNode(m_pShearNode);
    if (m_pAxis) {
        turn->NewNode(m_pAxis->GetOrigin());
        turn->NewNode(m_pAxis->GetXNode());
        turn->NewNode(m_pAxis->GetZNode());
    }
    turn->Rotate(angle, c1, c2, axis, update, true);
    for (POSITION pos = turn->GetHeadPosition(); pos;)
        turn->GetNextNode(pos)->RemoveGraph(turn);
    turn->RemoveAll();
    delete turn;
    if (m_pAxis)
        m_dPrincAngle += angle;
}

double CCrSectComp::CalcArea()
{
    m_dArea = CSectComp::CalcArea();
    return m_dArea;
}

// ------------------------------------------------------------ drawing

bool CCrSectComp::BeginPolygonOffsetGL()
{
    if (!bOffsetPolygon)
        return false;
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(glfOffsetFact, glfOffsetUnit);
    return true;
}

void CCrSectComp::EndPolygonOffsetGL(bool on)
{
    if (on)
        glDisable(GL_POLYGON_OFFSET_FILL);
}

void CCrSectComp::DrawModelGL(bool quads, float pointSize, bool all)
{
    const bool offset = BeginPolygonOffsetGL();
    CSectComp::DrawModelGL(quads, pointSize, all);
    DrawPAxisGL();
    EndPolygonOffsetGL(offset);
}

double CCrSectComp::AxisArmLength()
{
    double xmax = 0.0, ymax = 0.0, xmin = 0.0, ymin = 0.0;
    GetMaxMinCoord(xmax, ymax, xmin, ymin);
    return 0.4 * std::max(xmax - xmin, ymax - ymin);
}

void CCrSectComp::DrawPAxisGL()
{
    if (!m_pAxis || !m_pShearNode)
        return;
    // Colour, depth, lighting and the switches come back as they were.
    glPushAttrib(GL_CURRENT_BIT | GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_LIGHTING_BIT |
                 GL_ENABLE_BIT | GL_POINT_BIT | GL_LINE_BIT);
    glDisable(GL_BLEND);
    // The section's x and y are the beam's local y and z, its normal the
    // beam axis.
    m_pAxis->DrawGL(AxisArmLength(), "Y", "Z", "X", m_dAxisColor[0], m_dAxisColor[1],
                    m_dAxisColor[2]);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    const double x = m_pShearNode->x;
    const double y = m_pShearNode->y;
    glPointSize(static_cast<GLfloat>(MEDIUM_S_POINT));
    glColor3d(1.0, 0.0, 0.0);
    glBegin(GL_POINTS);
    glVertex3d(x, y, 0.0);
    glEnd();
    glRasterPos3d(x, y, 0.0);
    glCallLists(1, GL_UNSIGNED_BYTE, "S");
    glPopAttrib();
}

// ------------------------------------------------------------ materials and forces

void CCrSectComp::AddMaterial(CMaterial* material)
{
    if (material)
        m_MaterialList.AddTail(material);
}

void CCrSectComp::AddMaterial(CObList* materials)
{
    if (!materials)
        return;
    for (POSITION pos = materials->GetHeadPosition(); pos;)
        AddMaterial(static_cast<CMaterial*>(materials->GetNext(pos)));
}

void CCrSectComp::ReplaceMaterial(CMaterial* oldMaterial, CMaterial* replacement)
{
    ReplaceListedMaterial(m_MaterialList, oldMaterial, replacement);
}

CMaterial* CCrSectComp::GetBaseMat()
{
    for (POSITION pos = m_MaterialList.GetHeadPosition(); pos;) {
        CMaterial* material = static_cast<CMaterial*>(m_MaterialList.GetNext(pos));
        if (material->IsFlagBit(CMaterial::kBaseMaterialBit))
            return material;
    }
    return nullptr;
}

double CCrSectComp::BaseModulus()
{
    const CMaterial* material = GetBaseMat();
    return material ? material->GetModOfElast() : 0.0;
}

double CCrSectComp::BaseShearModulus()
{
    const CMaterial* material = GetBaseMat();
    return material ? material->GetModOfShear() : 0.0;
}

double CCrSectComp::GetForce(unsigned index)
{
    return index < kForceCount ? m_dForces[index] : 0.0;
}

void CCrSectComp::SetForce(unsigned index, double value)
{
    if (index < kForceCount)
        m_dForces[index] = value;
}

// ------------------------------------------------------------ parameters

namespace
{

// The stored property behind a parameter index, or -1.
int PropOfParam(unsigned index)
{
    switch (index) {
    case 3:
        return CCrSectComp::kMass;
    case 9:
        return CCrSectComp::kShearY;
    case 10:
        return CCrSectComp::kShearZ;
    default:
        break;
    }
    if (index >= 21 && index <= 30)
        return static_cast<int>(index) - 21;
    return -1;
}

} // namespace

double CCrSectComp::GetParam(unsigned index)
{
    if (const int prop = PropOfParam(index); prop >= 0)
        return m_dProps[prop];
    // E and G are 0 without a base material; every quotient by them then
    // is 0 as well.
    const double e = BaseModulus();
    switch (index) {
    case 0:
        return m_dArea;
    case 1:
        return Quotient(m_dProps[kEA], e);
    case 2:
        return m_dProps[kMass] * kGravity;
    case 4:
        return Quotient(m_dProps[kEIy], e);
    case 5:
        return Quotient(m_dProps[kEIz], e);
    case 6: {
        const CMaterial* material = GetBaseMat();
        if (!material)
            return 0.0;
        double g = material->GetModOfShear();
        if (g == 0.0)
            g = material->GetModOfElast() / (2.0 * (1.0 + material->GetNu()));
        return Quotient(m_dProps[kGIt], g);
    }
    case 8:
        return Quotient(m_dProps[kEIy] + m_dProps[kEIz], e);
    case 11:
        return GetCoord(4);
    case 12:
        return GetCoord(5);
    case 13:
        return GetCoord(0);
    case 14:
        return GetCoord(1);
    case 15:
        return GetCoord(2);
    case 16:
        return GetCoord(3);
    case 17:
        return m_dPrincAngle;
    case 18:
        return Quotient(m_dProps[kS24], e);
    case 19:
        return Quotient(m_dProps[kS25], e);
    case 20: {
        double s26 = m_dProps[kS26];
        if (std::fabs(s26) < kS26Snap * std::max(m_dProps[kS24], m_dProps[kS25]))
            s26 = 0.0;
        return Quotient(s26, e);
    }
    case 33:
        return e;
    case 34:
        return BaseShearModulus();
    case 35:
    case 36: {
        const double stiffness = m_dProps[index == 35 ? kEIy : kEIz];
        const double perArea = Quotient(Quotient(stiffness, e), m_dArea);
        return std::sqrt(perArea);
    }
    case 37:
    case 38: {
        const int j = index == 37 ? 1 : 2;
        const double m = std::max(std::fabs(m_dTable1[j]), std::fabs(m_dTable2[j]));
        return Quotient(1.0, m);
    }
    default:
        return 0.0;
    }
}

double CCrSectComp::SetParam(unsigned index, double value)
{
    if (const int prop = PropOfParam(index); prop >= 0) {
        const double former = m_dProps[prop];
        m_dProps[prop] = value;
        return former;
    }
    switch (index) {
    case 0: {
        const double former = m_dArea;
        m_dArea = value;
        return former;
    }
    case 11:
    case 12:
    case 13:
    case 14:
        return MoveCentre(index, value);
    case 15:
    case 16: {
        const double former = GetCoord(index - 13);
        if (m_pShearNode)
            (index == 15 ? m_pShearNode->x : m_pShearNode->y) = value;
        return former;
    }
    // Derived values: given back, nothing stored.
    case 8:
    case 17:
    case 35:
    case 36:
    case 37:
    case 38:
        return GetParam(index);
    default:
        return 0.0;
    }
}

double CCrSectComp::MoveCentre(unsigned index, double value)
{
    if (index == 13 || index == 14) {
        const bool inX = index == 13;
        const double former = GetCoord(inX ? 0 : 1);
        double present = 0.0;
        if (m_pAxis)
            present = inX ? m_pAxis->GetOrigin()->x : m_pAxis->GetOrigin()->y;
        const double d = value - present;
        const double dx = inX ? d : 0.0;
        const double dy = inX ? 0.0 : d;
        if (m_pAxis)
            m_pAxis->Translate(dx, dy, 0.0);
        if (m_pShearNode)
            m_pShearNode->Translate(dx, dy, 0.0, false);
        return former;
    }
    const bool inX = index == 11;
    const double former = GetCoord(inX ? 4 : 5);
    if (!m_pShearNode)
        return former;
    double p = value;
    if (m_pAxis) {
        double x = m_pShearNode->x, y = m_pShearNode->y, z = 0.0;
        m_pAxis->GlobalToLocal(x, y, z);
        (inX ? x : y) = value;
        z = 0.0;
        m_pAxis->LocalToGlobal(x, y, z);
        p = inX ? x : y;
    }
    (inX ? m_pShearNode->x : m_pShearNode->y) = p;
    return former;
}

double CCrSectComp::GetCoord(unsigned index)
{
    double v = 0.0;
    switch (index) {
    case 0:
    case 1:
        if (!m_pAxis)
            return 0.0;
        v = index == 0 ? m_pAxis->GetOrigin()->x : m_pAxis->GetOrigin()->y;
        break;
    case 2:
    case 3:
        if (!m_pShearNode)
            return 0.0;
        v = index == 2 ? m_pShearNode->x : m_pShearNode->y;
        break;
    case 4:
    case 5: {
        if (!m_pAxis || !m_pShearNode)
            return 0.0;
        double x = m_pShearNode->x, y = m_pShearNode->y, z = 0.0;
        m_pAxis->GlobalToLocal(x, y, z);
        v = index == 4 ? x : y;
        break;
    }
    default:
        return 0.0;
    }
    double xmax = 0.0, ymax = 0.0, xmin = 0.0, ymin = 0.0;
    GetMaxMinCoord(xmax, ymax, xmin, ymin);
    const double extent = index % 2 == 0 ? xmax - xmin : ymax - ymin;
    return std::fabs(v) < kCoordSnap * extent ? 0.0 : v;
}
