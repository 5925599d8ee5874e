// Shared body of the model fuzz targets: the input goes to a scratch file,
// is loaded as a document loads a model (a fresh object; on failure the
// fresh object and everything the archive made are discarded), and a model
// that loads must be consistent enough to be stored again and to lose its
// mesh. Leaks are reported: a load, failed or not, frees what it made.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include <unistd.h>

#include "app/analysis/analysis.h"
#include "fuzz/fuzz_reached.h"
#include "femodel/strelna.h"

namespace fuzzmodel
{

// A scratch file of this process holding the given bytes; removed with the
// object. False from ok() when it cannot be written.
class Scratch
{
public:
    Scratch(const char* name, const std::uint8_t* data, std::size_t size)
        : m_path("/tmp/brantel_fuzz_" + std::string(name) + "_" + std::to_string(::getpid()))
    {
        std::FILE* out = std::fopen(m_path.c_str(), "wb");
        if (!out)
            return;
        m_ok = std::fwrite(data, 1, size, out) == size;
        m_ok = std::fclose(out) == 0 && m_ok;
        if (m_ok)
            FuzzReached(); // the reader reads this file next
    }
    ~Scratch() { std::remove(m_path.c_str()); }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    bool ok() const { return m_ok; }
    const char* path() const { return m_path.c_str(); }

private:
    std::string m_path;
    bool m_ok = false;
};

// Stores the object again (into a scratch file): walks everything it holds.
inline void StoreAgain(const std::function<void(CArchive&)>& store)
{
    const std::string path = "/tmp/brantel_fuzz_store_" + std::to_string(::getpid());
    {
        CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store);
        store(ar);
        ar.Close();
    }
    std::remove(path.c_str());
}

// Resets the global state that loading and the model touch.
inline void Quiet()
{
    CGraph::m_pNodeList = nullptr;
    CSectMeshArea::m_bStoreMesh = true;
}

// Loads a whole component of the class from the bytes.
template <class Comp>
int FuzzComponent(const char* name, const std::uint8_t* data, std::size_t size)
{
    Quiet();
    Scratch scratch(name, data, size);
    if (!scratch.ok())
        return 0;
    try {
        CFile file(scratch.path(), CFile::modeRead);
        CArchive ar(&file, CArchive::load);
        auto model = std::make_unique<Comp>();
        try {
            model->Serialize(ar);
            StoreAgain([&](CArchive& out) { model->Serialize(out); });
            model->DeleteMesh();
            StoreAgain([&](CArchive& out) { model->Serialize(out); });
        } catch (CException&) {
            // A refused file throws; the load is discarded below.
        }
        // The document's discard: its fresh model, then what the archive made
        // (the materials, which the document owns after a load).
        model.reset();
        ar.DeleteCreatedObjects();
    } catch (CException&) {
    }
    return 0;
}

} // namespace fuzzmodel
