#pragma once
// The image window's side of the shell's seam.
#include "shell/gui/DocumentLinks.h"

#include <cstdint>
#include <string>

namespace raylen {

// The default image window as the shell reaches it; the program's window
// owner holds one and hands it to setImageWindowLink() before the main
// window is created.
class ImageWindow final : public ImageWindowLink {
public:
    bool isLoaded() const override;
    void show() override;
    bool unload() override;
    std::string sfInitForm(const std::string& strFileName) override;
    void dfUnloadForm(bool& blnCancel) override;
    void setBox(int32_t left, int32_t top, int32_t width, int32_t height) override;
    void setTaskMenusEnabled(bool blnEnabled) override;
    void toolBarAction(const std::string& key) override;
};

} // namespace raylen
