// Image commands: header, info, convert, render, cut.
#include "Command.h"
#include "ImageInput.h"
#include "NonFinite.h"

#include "fits/FitsData.h"
#include "display/Bitmap.h"
#include "image/ImageCut.h"
#include "platform/Format.h"
#include "display/Region.h"
#include "files/TextSpectrum.h"

#include <iostream>

namespace cli {

namespace {

int runHeader(const Arguments& args)
{
    OpenedImage opened;
    std::string message = openImage(args.positional[0], opened);
    if (!message.empty())
        return fail(message);
    for (int i = 0; i < opened.info.HeaderN && i < static_cast<int>(opened.header.size()); ++i)
        std::cout << raylen::utf8FromLatin1(opened.header[i]) << '\n';
    return exitOk;
}

int runInfo(const Arguments& args)
{
    OpenedImage opened;
    std::string message = openImage(args.positional[0], opened);
    if (!message.empty())
        return fail(message);
    const raylen::FitsInfo& i = opened.info;
    std::cout << "HeaderN=" << i.HeaderN << "\nSIMPLE=" << i.SIMPLE << "\nBITPIX=" << i.BITPIX
              << "\nNAXIS=" << i.NAXIS << "\nNAXIS1=" << i.NAXIS1 << "\nNAXIS2=" << i.NAXIS2
              << "\nBSCALE=" << platform::Format(i.BSCALE, "General Number")
              << "\nBZERO=" << platform::Format(i.BZERO, "General Number") << '\n';
    return exitOk;
}

int runConvert(const Arguments& args)
{
    OpenedImage opened;
    std::string message = openImageValues(args.positional[0], opened);
    if (message.empty())
        message = checkResult(opened.image);
    if (message.empty())
        message = raylen::sfSaveImgSng(*args.option("o"), opened.header, opened.image);
    return message.empty() ? exitOk : fail(message);
}

int runRender(const Arguments& args)
{
    auto maxText = args.option("max"), minText = args.option("min");
    if (maxText.has_value() != minText.has_value())
        return usageError("--min and --max go together", &commands().at("render"));
    float maximum = 0, minimum = 0;
    if (maxText) {
        double a = 0, b = 0;
        if (!parseRealPair(*maxText + "," + *minText, a, b))
            return usageError("--min and --max take numbers", &commands().at("render"));
        maximum = static_cast<float>(a);
        minimum = static_cast<float>(b);
    }
    OpenedImage opened;
    std::string message = openImageValues(args.positional[0], opened);
    raylen::BitmapBytes bitmap;
    if (message.empty())
        message = raylen::sfCreateBitMap(opened.image, opened.info.NAXIS1, opened.info.NAXIS2, maximum, minimum,
                                         bitmap, !maxText.has_value());
    if (message.empty())
        message = raylen::saveBitmapFile(bitmap, *args.option("o"));
    if (!message.empty())
        return fail(message);
    std::cout << "max=" << platform::Format(maximum, "0") << "\nmin=" << platform::Format(minimum, "0") << '\n';
    return exitOk;
}

int runCut(const Arguments& args)
{
    const CommandSpec* spec = &commands().at("cut");
    long x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    if (!args.option("x") || !args.option("y") || !parseIntRange(*args.option("x"), x1, x2) ||
        !parseIntRange(*args.option("y"), y1, y2))
        return usageError("--x and --y take pixel ranges A:B", spec);
    std::string along = args.option("along").value_or("x");
    if (along != "x" && along != "y")
        return usageError("--along takes x or y", spec);
    OpenedImage opened;
    std::string message = openImageValues(args.positional[0], opened);
    if (!message.empty())
        return fail(message);
    auto clampLong = [](long v) { return static_cast<int32_t>(std::max(-2147483647L, std::min(2147483647L, v))); };
    raylen::PixelRegion region = raylen::correctRegion({clampLong(x1), clampLong(x2), clampLong(y1), clampLong(y2)},
                                                       opened.info);
    std::vector<float> xs, ys;
    message = raylen::sfImplotData(opened.image, along == "x" ? 0 : -1, region.startX, region.endX, region.startY,
                                   region.endY, xs, ys);
    if (message.empty())
        message = checkResult(xs, ys);
    if (message.empty())
        message = raylen::sfSaveText(xs, ys, *args.option("o"));
    return message.empty() ? exitOk : fail(message);
}

Registration header({"header", "header IMAGE", "print the header cards up to END", {}, {}, 1, runHeader});
Registration info({"info", "info IMAGE", "print the description record of the image", {}, {}, 1, runInfo});
Registration convert({"convert", "convert IMAGE -o OUT.fit", "save the image as a float FITS file", {"o"}, {}, 1,
                      [](const Arguments& a) {
                          return a.option("o") ? runConvert(a) : usageError("-o is required", &commands().at("convert"));
                      }});
Registration render({"render", "render IMAGE -o OUT.bmp [--min V --max V]",
                     "write the 24-bit grey display bitmap (automatic limits unless both are given)",
                     {"o", "min", "max"}, {}, 1, [](const Arguments& a) {
                         return a.option("o") ? runRender(a) : usageError("-o is required", &commands().at("render"));
                     }});
Registration cut({"cut", "cut IMAGE --x X1:X2 --y Y1:Y2 [--along x|y] -o OUT.txt",
                  "image cut profile averaged over the region", {"o", "x", "y", "along"}, {}, 1,
                  [](const Arguments& a) {
                      return a.option("o") ? runCut(a) : usageError("-o is required", &commands().at("cut"));
                  }});

} // namespace

} // namespace cli
