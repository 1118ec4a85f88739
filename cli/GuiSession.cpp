#include "GuiSession.h"

#include <QGuiApplication>

#include <cstdlib>
#include <filesystem>
#include <stdlib.h>
#include <string>

namespace cli {

namespace {

KeptGui* keeper = nullptr;

// Qt looks into the user's runtime folder while it starts and warns when
// the session has none (cron, ssh, containers): a private one, made for the
// run and removed after it, serves then.
class RuntimeFolder {
public:
    RuntimeFolder()
    {
        const char* given = std::getenv("XDG_RUNTIME_DIR");
        if (given != nullptr && *given != '\0')
            return;
        std::string pattern = (std::filesystem::temp_directory_path() / "raylen-cli-runtime-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) // made 0700, as Qt requires
            return;
        path_ = pattern;
        ::setenv("XDG_RUNTIME_DIR", path_.c_str(), 1);
    }
    ~RuntimeFolder()
    {
        if (path_.empty())
            return;
        ::unsetenv("XDG_RUNTIME_DIR");
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    RuntimeFolder(const RuntimeFolder&) = delete;
    RuntimeFolder& operator=(const RuntimeFolder&) = delete;

private:
    std::string path_;
};

} // namespace

class GuiSession {
public:
    RuntimeFolder runtime;
    std::unique_ptr<QGuiApplication> application;
};

std::shared_ptr<GuiSession> guiApplication()
{
    if (QCoreApplication::instance() != nullptr)
        return nullptr;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "raylen-cli";
    static char* argv[] = {name, nullptr};
    auto session = std::make_shared<GuiSession>();
    session->application = std::make_unique<QGuiApplication>(argc, argv);
    if (keeper == nullptr)
        return session;
    keeper->session_ = std::move(session);
    return nullptr;
}

KeptGui::KeptGui() : outer_(keeper) { keeper = this; }

KeptGui::~KeptGui()
{
    end();
    keeper = outer_;
}

void KeptGui::end() { session_.reset(); }

} // namespace cli
