#pragma once
// lumigra.ini beside the component, written by a test and put back as it
// was afterwards.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace charttest {

class IniFile {
public:
    explicit IniFile(const std::string& folder) : path_(folder + "/lumigra.ini")
    {
        std::ifstream in(path_, std::ios::binary);
        existed_ = static_cast<bool>(in);
        std::ostringstream s;
        s << in.rdbuf();
        saved_ = s.str();
    }
    ~IniFile()
    {
        if (existed_)
            std::ofstream(path_, std::ios::binary) << saved_;
        else
            std::filesystem::remove(path_);
    }
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;
    void write(const std::string& text) { std::ofstream(path_, std::ios::binary) << text; }

private:
    std::string path_;
    std::string saved_;
    bool existed_ = false;
};

} // namespace charttest
