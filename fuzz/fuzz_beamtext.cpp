// The beam text import on arbitrary text: the three blocks are read from a
// file holding the input onto a small frame, the frame is discretised and
// its finite-element arrays made, it is written again and read back. Every input must end quietly.
#include "fuzz/fuzz_reached.h"
#include "sections/kantaro.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

// A scratch file of this process, rewritten for every input.
const std::string& ScratchPath()
{
    static const std::string path = [] {
        char name[] = "/tmp/fuzz_beamtext_XXXXXX";
        const int fd = ::mkstemp(name);
        if (fd >= 0)
            ::close(fd);
        std::atexit([] { std::remove(ScratchPath().c_str()); });
        return std::string(name);
    }();
    return path;
}

CStringArray Keys(const char* start, const char* end, const char* comment)
{
    CStringArray keys;
    keys.Add(start);
    keys.Add(end);
    keys.Add(comment);
    return keys;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    {
        CFile out(ScratchPath().c_str(), CFile::modeCreate | CFile::modeWrite);
        if (size)
            out.Write(data, static_cast<UINT>(size));
    }
    CSectCompBeam comp;
    auto* section = new CSectBeam;
    comp.AddTail(section);
    for (unsigned long id = 1; id <= 9; ++id) {
        CSNode* node = id % 3 ? new CBoundNode(double(id), double(id % 4), 0.0, nullptr, 0)
                              : new CJointNode(double(id), 0.0, double(id % 2), nullptr, 0);
        node->SetID(id);
        section->AddTail(node);
        node->AddGraph(section);
    }
    CCrSectRect a(10, 5), b(20, 10);
    CObList sections;
    sections.AddTail(static_cast<CObject*>(&a));
    sections.AddTail(static_cast<CObject*>(&b));
    const CBeamClassList classes = {RUNTIME_CLASS(CBarElm), RUNTIME_CLASS(CBarElm)};
    CStringArray beams = Keys("BEAMS", "END", "!");
    CStringArray sup = Keys("SUPPORTS", "END", "!");
    CStringArray presc = Keys("PRESCRIBED", "END", "");
    {
        CFile in(ScratchPath().c_str(), CFile::modeRead);
        FuzzReached();
        comp.ASCIIReadBeams(in, beams, &sections, &classes);
        comp.ASCIIReadSupDOFs(in, sup);
        comp.ASCIIReadPrescDOFs(in, presc);
    }
    // Element counts read from the text are kept small enough to mesh.
    section->ForMembers([](CBeamSeg* m) {
        if (m->GetElemCount() > 50)
            m->SetElemCount(50);
    });
    comp.Discretize();
    // The arrays of what was read, the record filled through the model.
    CModelInfoFEM info;
    info.GetInfo().m_iMask = 1 | 2 | 4 | 8 | 16 | 64;
    comp.DM_GetInfo(info.GetInfo());
    info.GenGeomData(&comp, nullptr);
    info.GenBCData(&comp, nullptr);
    {
        CFile out(ScratchPath().c_str(), CFile::modeCreate | CFile::modeWrite);
        section->ASCIIExportBeams(out, beams, &sections, &classes);
        section->ASCIIExportSupDOFs(out, sup, 0);
        section->ASCIIExportPrescDOFs(out, presc, 0);
    }
    comp.DM_Clean();
    CSectCompBeam again;
    auto* copy = new CSectBeam;
    again.AddTail(copy);
    CFile in(ScratchPath().c_str(), CFile::modeRead);
    again.ASCIIReadBeams(in, beams, &sections, &classes);
    return 0;
}
