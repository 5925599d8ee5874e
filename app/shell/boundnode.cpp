#include "app/shell/boundnode.h"

#include "femodel/strelna.h"

CBoundNode* brantel::ToBoundNode(CSNode* node, NODELIST* nodeList)
{
    if (!node)
        return nullptr;
    if (node->IsKindOf(RUNTIME_CLASS(CBoundNode)))
        return static_cast<CBoundNode*>(node);
    const DWORD counter = CSNode::lIDnode;
    auto* bound = new CBoundNode(node->x, node->y, node->z, nullptr, 0);
    CSNode::lIDnode = counter;
    bound->SetID(node->GetID());
    bound->m_uiFlags = node->m_uiFlags;
    bound->m_dSpace = node->m_dSpace;
    if (const CVector* values = node->GetValueVector(); values && values->GetSize() > 0) {
        bound->AllocateValue(values->GetSize());
        for (int i = 0; i < values->GetSize(); ++i)
            bound->SetValue(values->GetValue(i), i);
    }
    node->ReplaceWith(bound);
    if (nodeList) {
        for (int i = 0; i < nodeList->m_nCount; ++i)
            if (nodeList->m_pNodes[i] == node)
                nodeList->m_pNodes[i] = bound;
    }
    delete node;
    return bound;
}
