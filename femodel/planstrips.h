// The flat triangles of a plan plot as triangle strips. Mesa compiles a
// display list vertex by vertex (each vertex sent is looked up among those
// of the list so far), so a strip, which sends one vertex per triangle
// where a triangle list sends three, compiles and draws in far less time.
// The strips hold exactly the triangles given, each corner with its own
// position and fringe colour, turned the same way as given.
//
// Faces are taken in chunks: the triangles of a chunk that share an edge,
// with the same position and colour at both ends, are joined into strips;
// a triangle that joins no strip of three or more is sent in a triangle
// list after the chunk's strips.
#pragma once

#include <cstdint>
#include <vector>

#include "femodel/element.h"

class CPlanStrips
{
public:
    // A step of what is sent: a vertex (its colour index, -1 none, and
    // position), a normal (in x, y, z), or the beginning or end of a
    // primitive.
    struct Op {
        enum Code : int { kVertex, kNormal, kBeginStrip, kBeginTriangles, kEnd };
        double x, y, z;
        int colour;
        int code;
    };

    static constexpr int kChunk = 1024;

    CPlanStrips();

    // Takes a face; true when the chunk is full and wants a Flush. A face
    // that is not flat (not at height 0 with the plan normal) ends the
    // chunk and is sent on its own, with its normal.
    bool Add(const CElement::CPlotFace& face, std::vector<Op>& out);
    // Appends the chunk's strips and left-over triangles to out and starts
    // a new chunk.
    void Flush(std::vector<Op>& out);
    // Sends ops to OpenGL. The plan normal is set by the caller, before the
    // first op and outside any primitive (a normal inside a primitive would
    // make Mesa keep one with every vertex).
    static void Send(const Op* ops, std::size_t count);

private:
    int VertexId(double x, double y, int colour);
    void Link();
    // The linked face across the edge a-b of face f (-1 none).
    int Across(int f, int a, int b) const;
    int Third(int f, int a, int b) const;
    void Emit(const std::vector<int>& strip, std::vector<Op>& out) const;

    // The chunk's vertices and the faces' vertex ids (three a face).
    std::vector<double> m_x, m_y;
    std::vector<int> m_colour;
    std::vector<int> m_faces;
    // Open addressing from position and colour to vertex id (-1 empty).
    std::vector<int> m_table;
    std::uint64_t m_mask = 0;
    // For each face corner c (the edge from corner c to the next), the face
    // across it turned the other way (-1 none).
    std::vector<int> m_across;
    // Edges leaving each vertex, as face * 3 + corner, in runs by vertex.
    std::vector<int> m_first, m_leaving;
    // Each vertex's next free place in m_leaving while the runs are filled.
    std::vector<int> m_place;
    // The faces already in a strip or left over.
    std::vector<char> m_taken;
    // The strip being walked (vertex ids), the vertices found walking back
    // from its first face, its faces, and the faces left for the list.
    std::vector<int> m_strip, m_back, m_members, m_left;
};
