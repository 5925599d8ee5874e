// The peer family of the headless conformance program.
#include "tests/afxui_conformance/conformance.h"

namespace conformance
{

std::vector<PeerFamily> PeerFamilies()
{
    return {{"headless", [] { return std::make_unique<afxui::headless::HeadlessBackend>(); }}};
}

} // namespace conformance
