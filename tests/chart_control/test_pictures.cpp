// CreatePicture and CopyToClipboard called by DISPID on a control in a window.
#include <QClipboard>
#include <QMimeData>
#include <QPainter>
#include <QPicture>
#include <QRegularExpression>

#include "Scene.h"
#include "lumigra/Picture.h"

namespace controltest {
namespace {

namespace pic = lumigra::dispid::picture;

lumigra::ILumigraPicture* pictureOf(const Obj& picture)
{
    void* p = nullptr;
    EXPECT_EQ(picture->QueryInterface(lumigra::IID_ILumigraPicture, &p), S_OK);
    auto* result = static_cast<lumigra::ILumigraPicture*>(p);
    result->Release(); // picture keeps it alive
    return result;
}

TEST(ControlPictures, MetafileAtTheControlsOwnSize)
{
    Obj control = controlByClsid();
    QWidget* w = showWindow(control, 540, 426);
    ASSERT_NE(w, nullptr);
    buildSpectrumChart(control);
    const double dpi = w->logicalDpiX();

    Variant result = Call(control, c::CreatePicture, {I2(29), R8(0), R8(0), Bool(false)});
    ASSERT_EQ(result.vt(), VT_DISPATCH);
    ASSERT_NE(result.dispatch(), nullptr);
    Obj picture = objectOf(result);
    // The control's size in hundredths of a millimetre: 540 and 426 pixels
    // at the screen's resolution.
    EXPECT_EQ(Get(picture, pic::Width).i4(), std::lround(540 * 2540 / dpi));
    EXPECT_EQ(Get(picture, pic::Height).i4(), std::lround(426 * 2540 / dpi));
    EXPECT_EQ(Get(picture, pic::Type).i2(), lumigra::picTypeMetafile);
    const int32_t handle = Get(picture, pic::Handle).i4();
    EXPECT_NE(handle, 0);
    Obj second = objectOf(Call(control, c::CreatePicture, {I2(29), R8(0), R8(0), Bool(false)}));
    EXPECT_NE(Get(second, pic::Handle).i4(), handle);

    // Played back, the record draws what the window shows.
    auto* p = pictureOf(picture);
    ASSERT_NE(p->metafile(), nullptr);
    EXPECT_EQ(p->bitmap(), nullptr);
    EXPECT_EQ(p->metafile()->boundingRect(), QRect(0, 0, 540, 426));
    QImage played(540, 426, QImage::Format_RGB32);
    played.fill(Qt::gray);
    {
        QPainter painter(&played);
        painter.drawPicture(0, 0, *p->metafile());
    }
    QImage shown = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
    int differing = 0;
    for (int y = 0; y < 426; ++y)
        for (int x = 0; x < 540; ++x)
            differing += played.pixel(x, y) != shown.pixel(x, y);
    EXPECT_LT(differing, 540 * 426 / 200) << "the picture and the window disagree";
    delete w;
}

TEST(ControlPictures, BitmapAndSizesGivenInMillimetres)
{
    Obj control = controlByClsid();
    QWidget* w = showWindow(control, 300, 200);
    ASSERT_NE(w, nullptr);
    Obj picture = objectOf(Call(control, c::CreatePicture, {I2(30), R8(50.8), R8(25.4), Bool(false)}));
    EXPECT_EQ(Get(picture, pic::Type).i2(), lumigra::picTypeBitmap);
    EXPECT_EQ(Get(picture, pic::Width).i4(), 5080);
    EXPECT_EQ(Get(picture, pic::Height).i4(), 2540);
    auto* p = pictureOf(picture);
    ASSERT_NE(p->bitmap(), nullptr);
    const double dpi = w->logicalDpiX();
    EXPECT_EQ(p->bitmap()->size(), QSize(int(2 * dpi), int(dpi)));
    // Width and Height cannot be set.
    EXPECT_EQ(invokeRaw(picture, pic::Width, DISPATCH_PROPERTYPUT, {I4(1)}).status, CTL_E_SETNOTSUPPORTED);
    delete w;
}

TEST(ControlPictures, SvgOnTheClipboardWithItsReferenceRectangle)
{
    Obj control = controlByClsid();
    QWidget* w = showWindow(control, 300, 200);
    ASSERT_NE(w, nullptr);
    buildSpectrumChart(control);
    host(control)->setDisplayName("Lumigra1");
    EXPECT_TRUE(Call(control, c::CopyToClipboard, {I2(91), R8(100), R8(50), Bool(true)}).boolean());
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    ASSERT_TRUE(data->hasFormat("image/svg+xml"));
    const QString svg = QString::fromUtf8(data->data("image/svg+xml"));
    EXPECT_TRUE(svg.contains(QRegularExpression(R"(viewBox="0 0 10000 5000")"))) << svg.left(400).toStdString();
    EXPECT_TRUE(svg.contains("<title>Lumigra Works</title>"));
    EXPECT_TRUE(svg.contains("<desc>Lumigra1</desc>"));
    // 100 x 50 mm on paper.
    const auto width = QRegularExpression(R"(width="([0-9.]+)mm")").match(svg);
    const auto height = QRegularExpression(R"(height="([0-9.]+)mm")").match(svg);
    ASSERT_TRUE(width.hasMatch() && height.hasMatch()) << svg.left(400).toStdString();
    EXPECT_NEAR(width.captured(1).toDouble(), 100, 0.01);
    EXPECT_NEAR(height.captured(1).toDouble(), 50, 0.01);

    // The same request as a picture object.
    Obj picture = objectOf(Call(control, c::CreatePicture, {I2(91), R8(100), R8(50), Bool(true)}));
    EXPECT_EQ(Get(picture, pic::Type).i2(), lumigra::picTypeEnhMetafile);
    EXPECT_EQ(Get(picture, pic::Width).i4(), 10000);
    EXPECT_EQ(Get(picture, pic::Height).i4(), 5000);
    delete w;
}

TEST(ControlPictures, UnknownTypeGivesNothingAndEmptiesTheClipboard)
{
    Obj control = controlByClsid();
    QWidget* w = showWindow(control, 300, 200);
    ASSERT_NE(w, nullptr);
    Variant none = Call(control, c::CreatePicture, {I2(31), R8(0), R8(0), Bool(false)});
    EXPECT_EQ(none.vt(), VT_DISPATCH);
    EXPECT_EQ(none.dispatch(), nullptr); // Nothing

    QGuiApplication::clipboard()->setText("kept?");
    EXPECT_TRUE(Call(control, c::CopyToClipboard, {I2(31), R8(10), R8(10), Bool(false)}).boolean());
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    EXPECT_TRUE(!data || data->formats().isEmpty());
    EXPECT_TRUE(QGuiApplication::clipboard()->text().isEmpty());
    // Four arguments are required.
    EXPECT_EQ(invokeRaw(control, c::CreatePicture, DISPATCH_METHOD, {I2(29)}).status, DISP_E_PARAMNOTOPTIONAL);
    delete w;
}

} // namespace
} // namespace controltest
