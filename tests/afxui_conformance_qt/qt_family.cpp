// The peer family of the Qt conformance program: the same cases on real
// widgets under the offscreen platform.
#include "platform/ui/qt/afxui_qt.h"
#include "platform/ui/qt/testing/qttesting.h"
#include "tests/afxui_conformance/conformance.h"

namespace conformance
{

std::vector<PeerFamily> PeerFamilies()
{
    return {{"qt", [] {
                 afxui::qt::testing::TestApplication();
                 return std::make_unique<CQtBackend>();
             },
             true}};
}

} // namespace conformance
