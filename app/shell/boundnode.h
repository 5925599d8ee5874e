// Turning a plain model node into a boundary node, which can carry
// conditions and a load, without changing what the model says of it.
#pragma once

class CSNode;
class CBoundNode;
struct NODELIST;

namespace brantel
{

// The node as a boundary node. A plain node is replaced by a new boundary
// node with its coordinates, identifier, flags and values, in every edge
// and graph and in nodeList (when given and holding it); the plain node is
// deleted and the node counter stands where it stood, so the next new node
// gets the number it would have had. Null for null.
CBoundNode* ToBoundNode(CSNode* node, NODELIST* nodeList);

} // namespace brantel
