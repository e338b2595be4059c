// The linker's messages: each goes to the console and, once the map is open, into the map
// at the point where it happened, as the map's reader expects. Lines end in CR LF like the
// rest of the DOS tools' output. A fatal message ends the link by throwing `LinkFatal`.
#pragma once

#include <stdexcept>
#include <string>

namespace velmora::assembler::link
{

struct LinkFatal : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class LinkLog
{
public:
    void line(const std::string &text) { console_ += text + "\r\n"; }
    void warning(const std::string &text) { message("Warning: " + text); }
    void error(const std::string &text)
    {
        message("Error: " + text);
        if (exitCode_ < 1)
            exitCode_ = 1;
    }
    [[noreturn]] void fatal(const std::string &text)
    {
        message("Fatal: " + text);
        exitCode_ = 2;
        throw LinkFatal(text);
    }

    // Starts collecting the map; text written to it before is not part of it.
    void openMap() { mapOpen_ = true; }
    bool mapOpen() const { return mapOpen_; }
    void mapText(const std::string &text)
    {
        if (mapOpen_)
            map_ += text;
    }

    const std::string &console() const { return console_; }
    const std::string &map() const { return map_; }
    int exitCode() const { return exitCode_; }

private:
    void message(const std::string &text)
    {
        line(text);
        mapText(text + "\r\n");
    }

    std::string console_;
    std::string map_;
    bool mapOpen_ = false;
    int exitCode_ = 0;
};

} // namespace velmora::assembler::link
