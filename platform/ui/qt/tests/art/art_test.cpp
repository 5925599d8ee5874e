// The program's artwork: every command on a registered toolbar or menu
// table, the six view cursors and every picture of a registered dialog
// template has its image, and each image draws something at the normal
// (16 x 15) and the large (30 x 30) button size. A missing picture still
// draws its labelled frame. Tables that later libraries register are
// checked as soon as they link into this program.
#include <set>
#include <vector>
#include <typeindex>

#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>

#include "platform/ui/core/afxui.h"
#include "platform/ui/qt/afxui_qt.h"
#include "platform/ui/qt/testing/qttesting.h"

namespace
{

void AddMenuCommands(const AfxMenu& menu, std::set<UINT>& ids)
{
    for (const AfxMenuEntry& entry : menu) {
        if (!entry.popup.empty())
            AddMenuCommands(entry.popup, ids);
        else if (!entry.bSeparator && entry.item.nResourceID != 0)
            ids.insert(entry.item.nResourceID);
    }
}

// Every id that needs art, from the resource chain.
std::set<UINT> IdsNeedingArt()
{
    std::set<UINT> ids;
    for (const CResourceModule* module : AfxGetResourceChain()) {
        for (UINT id : module->Ids(std::type_index(typeid(AfxToolBar))))
            for (UINT button : module->Find<AfxToolBar>(id)->buttons)
                if (button != ID_SEPARATOR)
                    ids.insert(button);
        for (UINT id : module->Ids(std::type_index(typeid(AfxMenu))))
            AddMenuCommands(*module->Find<AfxMenu>(id), ids);
        for (UINT id : module->Ids(std::type_index(typeid(DialogTemplate))))
            for (const DialogControl& control : module->Find<DialogTemplate>(id)->controls)
                if ((control.kind == AfxCtl::picture || control.kind == AfxCtl::pictureButton) &&
                    control.nBitmapID != 0)
                    ids.insert(control.nBitmapID);
    }
    for (UINT id = 27040; id <= 27045; ++id)
        ids.insert(id);
    return ids;
}

bool HasArt(UINT id)
{
    return AfxFindResource<AfxBitmapResource>(id) || AfxFindResource<AfxCursorResource>(id);
}

// The share of pixels that are not transparent.
double Covered(const QImage& image)
{
    int covered = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            covered += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
    return image.isNull() ? 0.0 : double(covered) / (image.width() * image.height());
}

QImage Drawn(UINT id, QSize size)
{
    if (const AfxCursorResource* cursor = AfxFindResource<AfxCursorResource>(id)) {
        if (!AfxFindResource<AfxBitmapResource>(id)) {
            QImage image;
            image.loadFromData(cursor->image.data.data(), static_cast<int>(cursor->image.data.size()));
            return image.scaled(size);
        }
    }
    return AfxQtArtPixmap(id, size, 1.0).toImage();
}

TEST(Art, EveryCommandCursorAndPictureHasArtThatDraws)
{
    afxui::qt::testing::TestApplication();
    const std::set<UINT> ids = IdsNeedingArt();
    ASSERT_GT(ids.size(), 30u);
    for (UINT id : ids) {
        SCOPED_TRACE(id);
        CString prompt;
        AfxLoadString(id, prompt);
        EXPECT_TRUE(HasArt(id)) << "no art for " << id << " (" << static_cast<LPCTSTR>(prompt) << ")";
        if (!HasArt(id))
            continue;
        for (QSize size : {QSize(16, 15), QSize(30, 30)}) {
            const double covered = Covered(Drawn(id, size));
            EXPECT_GT(covered, 0.02) << size.width() << " x " << size.height();
        }
    }
}

// The element pictures are the dialogs library's own, and no two elements
// share a picture but the two 9-freedom plate triangles.
TEST(Art, ElementPicturesComeFromTheDialogsAndTellTheElementsApart)
{
    afxui::qt::testing::TestApplication();
    const UINT ids[] = {16001, 16002, 16005, 16006, 16007, 16008, 16009, 16010,
                        16011, 16012, 16013, 16014, 16015, 16067};
    const CResourceModule* dialogs = nullptr;
    for (const CResourceModule* module : AfxGetResourceChain())
        if (module->GetName() == "pavesta")
            dialogs = module;
    ASSERT_NE(dialogs, nullptr);
    std::vector<QImage> images;
    for (UINT id : ids) {
        SCOPED_TRACE(id);
        const AfxBitmapResource* own = dialogs->Find<AfxBitmapResource>(id);
        ASSERT_NE(own, nullptr);
        EXPECT_EQ(own->strFormat, "svg");
        images.push_back(AfxQtArtPixmap(id, QSize(160, 100), 1.0).toImage());
        for (std::size_t k = 0; k + 1 < images.size(); ++k)
            EXPECT_NE(images[k], images.back()) << "the same picture as " << ids[k];
    }
    EXPECT_EQ(AfxQtArtPixmap(16068, QSize(160, 100), 1.0).toImage(),
              AfxQtArtPixmap(16015, QSize(160, 100), 1.0).toImage());
}

TEST(Art, AMissingPictureDrawsItsLabelledFrame)
{
    afxui::qt::testing::TestApplication();
    constexpr UINT kNone = 0xFFF1;
    ASSERT_FALSE(HasArt(kNone));
    const QImage image = AfxQtArtPixmap(kNone, QSize(60, 30), 1.0).toImage();
    // The frame's corners and some of the label inside it.
    EXPECT_GT(qAlpha(image.pixel(0, 0)), 0);
    EXPECT_GT(qAlpha(image.pixel(59, 29)), 0);
    int inside = 0;
    for (int y = 3; y < 27; ++y)
        for (int x = 3; x < 57; ++x)
            inside += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
    EXPECT_GT(inside, 10) << "no label";
}

// At a device pixel ratio of 2 the art is drawn at twice the pixels.
TEST(Art, DrawsAtTheDevicePixelRatio)
{
    afxui::qt::testing::TestApplication();
    const QPixmap pixmap = AfxQtArtPixmap(ID_FILE_OPEN, QSize(16, 15), 2.0);
    EXPECT_EQ(pixmap.size(), QSize(32, 30));
    EXPECT_EQ(pixmap.deviceIndependentSize().toSize(), QSize(16, 15));
}

} // namespace
