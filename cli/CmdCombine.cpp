// combine: frames of one size combined pixel by pixel, then the image save
// (with the uncertainty as an ERR extension after it when asked).
#include "Command.h"

#include "fits/FitsData.h"
#include "image/Combine.h"
#include "image/ErrorExtension.h"

namespace cli {

namespace {

const CommandSpec& combineSpec() { return commands().at("combine"); }

bool parseCount(const std::string& text, int& value)
{
    double v = 0;
    if (!parseDouble(text, v) || v < 0 || v != static_cast<int>(v))
        return false;
    value = static_cast<int>(v);
    return true;
}

// "sigclip[:LOW:HIGH]" or "minmax[:NLOW:NHIGH]" or "none".
bool parseReject(const std::string& text, raylen::CombineOptions& o)
{
    const size_t colon = text.find(':');
    const std::string kind = text.substr(0, colon);
    const std::string rest = colon == std::string::npos ? "" : text.substr(colon + 1);
    if (kind == "none")
        return colon == std::string::npos;
    if (kind == "sigclip") {
        o.reject = raylen::CombineReject::sigmaClip;
        return rest.empty() ? colon == std::string::npos
                            : parseRealRange(rest, o.low, o.high) && o.low > 0 && o.high > 0;
    }
    if (kind == "minmax") {
        o.reject = raylen::CombineReject::minMax;
        if (rest.empty())
            return colon == std::string::npos;
        const size_t second = rest.find(':');
        return second != std::string::npos && parseCount(rest.substr(0, second), o.dropLow) &&
               parseCount(rest.substr(second + 1), o.dropHigh);
    }
    return false;
}

int runCombine(const Arguments& args)
{
    auto output = args.option("o");
    if (!output)
        return usageError("-o is required", &combineSpec());
    raylen::CombineOptions options;
    const std::string method = args.option("method").value_or("median");
    if (method == "mean")
        options.method = raylen::CombineMethod::mean;
    else if (method == "sum")
        options.method = raylen::CombineMethod::sum;
    else if (method != "median")
        return usageError("--method takes median, mean or sum", &combineSpec());
    if (!parseReject(args.option("reject").value_or("none"), options))
        return usageError("--reject takes none, sigclip[:LOW:HIGH] or minmax[:NLOW:NHIGH]", &combineSpec());
    const std::string scale = args.option("scale").value_or("none");
    if (scale == "median")
        options.scale = raylen::CombineScale::median;
    else if (scale == "exptime")
        options.scale = raylen::CombineScale::exposureTime;
    else if (scale != "none")
        return usageError("--scale takes none, median or exptime", &combineSpec());

    const bool withError = args.flag("err");
    raylen::SingleImage image, sigma;
    raylen::HeaderCards header;
    std::string message =
        raylen::sfCombineFrames(args.positional, options, image, header, withError ? &sigma : nullptr);
    if (message.empty())
        message = withError ? raylen::sfSaveImgSngWithError(*output, header, image, sigma)
                            : raylen::sfSaveImgSng(*output, header, image);
    return message.empty() ? exitOk : fail(message);
}

Registration combine({"combine",
                      "combine IMAGE... [--method median|mean|sum] [--reject none|sigclip[:LOW:HIGH]|"
                      "minmax[:NLOW:NHIGH]] [--scale none|median|exptime] [--err] -o OUT.fit",
                      "combine frames of one size pixel by pixel and save (--err: with an ERR "
                      "extension of the uncertainty)",
                      {"o", "method", "reject", "scale"},
                      {"err"},
                      1,
                      runCombine,
                      nullptr,
                      true});

} // namespace

} // namespace cli
