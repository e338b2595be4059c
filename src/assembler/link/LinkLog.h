// The linker's messages: each goes to the console and, once the map is open, into the map
// at the point where it happened, as the map's reader expects. Lines end in CR LF like the
// rest of the DOS tools' output. A fatal message ends the link by throwing `LinkFatal`,
// which carries nothing: the message is already in the log.
#pragma once

#include <string>

namespace velmora::assembler::link
{

struct LinkFatal {
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
    // Records a fatal message without ending the link; `fatal` also ends it.
    void fatalMessage(const std::string &text)
    {
        message("Fatal: " + text);
        exitCode_ = 2;
    }
    [[noreturn]] void fatal(const std::string &text)
    {
        fatalMessage(text);
        throw LinkFatal{};
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
