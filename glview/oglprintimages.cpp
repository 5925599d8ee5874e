#include "glview/oglprintimages.h"

#include <algorithm>

namespace {

void fill(PrintImage& image, const double box[6], const double transform[6], int iParam, double dParam,
          unsigned int flags)
{
    image.bUsed = true;
    std::copy(box, box + 6, image.dBox);
    std::copy(transform, transform + 6, image.dTransform);
    image.uFlags = flags;
    image.iParam = iParam;
    image.dParam = dParam;
}

} // namespace

bool COGLPrintImages::AddImage(const double box[6], const double transform[6], int iParam, double dParam,
                               const float colour[4], unsigned int flags, int slot)
{
    if (slot >= kSlots)
        return false;
    if (slot < 0) {
        const auto free = std::find_if(m_images, m_images + kSlots, [](const PrintImage& p) { return !p.bUsed; });
        if (free == m_images + kSlots)
            return false;
        slot = static_cast<int>(free - m_images);
    }
    PrintImage& image = m_images[slot];
    fill(image, box, transform, iParam, dParam, flags);
    std::copy(colour, colour + 4, image.fColor);
    return true;
}

void COGLPrintImages::DeleteImage(int slot)
{
    if (slot < 0 || slot >= kSlots)
        return;
    std::move(m_images + slot + 1, m_images + kSlots, m_images + slot);
    m_images[kSlots - 1] = PrintImage{};
}

void COGLPrintImages::SetTmpImage(const double box[6], const double transform[6], int iParam, double dParam,
                                  const double colour[4], unsigned int flags)
{
    PrintImage& image = m_images[kTmpSlot];
    fill(image, box, transform, iParam, dParam, flags);
    std::transform(colour, colour + 4, image.fColor, [](double c) { return static_cast<float>(c); });
}

const PrintImage& COGLPrintImages::GetImage(int slot) const
{
    static const PrintImage kEmpty;
    return slot >= 0 && slot <= kTmpSlot ? m_images[slot] : kEmpty;
}

int COGLPrintImages::DrawMode(unsigned int flags)
{
    if ((flags & (kPrintImageFill | kPrintImageOutline)) == 0)
        return 6;
    return ((flags & kPrintImageOutline) ? 2 : 0) + ((flags & kPrintImageFill) ? 1 : 0);
}
