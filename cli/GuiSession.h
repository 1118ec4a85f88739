#pragma once
// Font metrics and painting need a GUI application; without a display the
// offscreen platform serves. A command starts one for its own run; while a
// KeptGui lives (a batch), the first one started stays for the commands after
// it, which then skip building the font database again.
#include <memory>

namespace cli {

class GuiSession;

// The session a command owns for its run, or nothing when an application
// already runs or a KeptGui holds the new one.
std::shared_ptr<GuiSession> guiApplication();

class KeptGui {
public:
    KeptGui();
    ~KeptGui();
    KeptGui(const KeptGui&) = delete;
    KeptGui& operator=(const KeptGui&) = delete;
    // Ends the kept application now.
    void end();

private:
    friend std::shared_ptr<GuiSession> guiApplication();
    std::shared_ptr<GuiSession> session_;
    KeptGui* outer_;
};

} // namespace cli
