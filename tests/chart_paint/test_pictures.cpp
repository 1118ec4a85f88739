// CreatePicture and CopyToClipboard: sizes, the SVG reference rectangle
// and description, replay of the drawing record, clipboard rules.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>
#include <QXmlStreamReader>

#include "Scene.h"
#include "picture/ChartPicture.h"

using namespace scene;

TEST(Pictures, MetafileAtTheControlsOwnSizeReplaysLikeTheScreen)
{
    Control c(400, 300);
    plotWindowChart(*c, {0, 1, 2, 3}, {1, 3, 2, 4});
    auto pic = createPicture(*c, 29, 0, 0, false);
    ASSERT_TRUE(pic.has_value());
    EXPECT_EQ(pic->deviceSize, QSize(400, 300));
    EXPECT_DOUBLE_EQ(pic->widthMm, 400 * 25.4 / 96);
    EXPECT_DOUBLE_EQ(pic->heightMm, 300 * 25.4 / 96);
    EXPECT_EQ(pic->picture.boundingRect(), QRect(0, 0, 400, 300));
    QImage replay(400, 300, QImage::Format_RGB32);
    replay.fill(Qt::magenta);
    QPainter p(&replay);
    p.drawPicture(0, 0, pic->picture);
    p.end();
    const QImage direct = render(*c);
    int differ = 0;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x)
            differ += replay.pixel(x, y) != direct.pixel(x, y);
    EXPECT_LT(differ, 400 * 300 / 200) << "pixels differing between replay and direct drawing";

    auto bitmap = createPicture(*c, 30, 50, 25, false);
    ASSERT_TRUE(bitmap.has_value());
    EXPECT_EQ(bitmap->pixmap.size(), QSize(188, 94)); // 50 x 25 mm at 96 dpi, truncated
    EXPECT_EQ(bitmap->pixmap.toImage().pixel(2, 2) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_FALSE(createPicture(*c, 31, 50, 25, false).has_value());
}

TEST(Pictures, ClipboardSvgHasTheReferenceRectangleAndDescription)
{
    Control c(400, 300);
    c->displayName_ = "Lumigra1";
    plotWindowChart(*c, {0, 1, 2, 3}, {1, 3, 2, 4});
    ASSERT_TRUE(copyToClipboard(*c, 91, 100, 50, true));
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(data && data->hasFormat("image/svg+xml"));
    QXmlStreamReader xml(data->data("image/svg+xml"));
    QString viewBox, title, desc, width;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("svg")) {
            viewBox = xml.attributes().value("viewBox").toString();
            width = xml.attributes().value("width").toString();
        } else if (xml.name() == QLatin1String("title")) {
            title = xml.readElementText();
        } else if (xml.name() == QLatin1String("desc")) {
            desc = xml.readElementText();
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(viewBox, "0 0 10000 5000");
    EXPECT_EQ(width, "100mm");
    EXPECT_EQ(title, "Lumigra Works");
    EXPECT_EQ(desc, "Lumigra1");
    // ExactScale was the caller's only for the rendering.
    EXPECT_FALSE(c->exactScale_);
}

TEST(Pictures, UnknownTypeOnlyEmptiesTheClipboard)
{
    Control c(100, 80);
    QGuiApplication::clipboard()->setText("before");
    EXPECT_TRUE(copyToClipboard(*c, 12, 0, 0, false));
    EXPECT_TRUE(QGuiApplication::clipboard()->text().isEmpty());
    ASSERT_TRUE(copyToClipboard(*c, 29, 0, 0, false));
    EXPECT_TRUE(QGuiApplication::clipboard()->mimeData()->hasFormat(kPictureMimeType));
    ASSERT_TRUE(copyToClipboard(*c, 30, 0, 0, false));
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(100, 80));
}
