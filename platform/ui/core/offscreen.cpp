#include "platform/ui/core/offscreen.h"

#include <atomic>

namespace {
std::atomic<IOffscreenFactory*> g_factory{nullptr};
}

IOffscreenFactory* AfxGetOffscreenFactory()
{
    return g_factory.load();
}

void AfxSetOffscreenFactory(IOffscreenFactory* factory)
{
    g_factory.store(factory);
}
