// The three file forms of keyword and start-stop lists:
// - the plain list: one keyword, or start key "|" stop key, per line;
// - the attribute file: an INI file whose section "Keywords" or "Sections" holds the
//   lists' name=value text form;
// - the ".kbn" file: a header string, then the list as stored in tagged values.
// Failures throw KeywordFileError, or the lists' own errors (TaggedValueError,
// std::invalid_argument, std::length_error), each with the message the user sees. A
// failed load may leave the target list part-filled: load into a list of its own and use
// it only on success. Saving produces a file's bytes; the caller stores them, all or
// nothing, through the platform's atomic file write.
#pragma once

#include "editor/core/keyfiles/KeyEntry.h"

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::core
{

class TKeywordList;
class TStartStopKeyList;

class KeywordFileError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char *kInvalidKeywordFile = "File does not contain valid keyword list";
inline constexpr const char *kInvalidStartStopFile = "File does not contain valid start-stop list";
inline constexpr const char *kKbnKeywordHeader = "Extended keywords";
inline constexpr const char *kKbnStartStopHeader = "Extended start-stop keys";
inline constexpr const char *kKeywordSection = "Keywords";
inline constexpr const char *kStartStopSection = "Sections";

// Whole-file reading with the runtime's file errors ("Cannot open file ...").
std::string readKeywordFileBytes(const std::filesystem::path &path);

// Plain list. Lines end with CR LF, LF or CR; empty lines give no entry. A start-stop line
// splits at its first "|" (a line without one is all start key). Loaded entries are fresh.
std::vector<KeyEntry> parsePlainKeyList(std::string_view text, KeyListKind kind);
std::string formatPlainKeyList(const std::vector<KeyEntry> &entries, KeyListKind kind);
std::vector<KeyEntry> loadPlainKeyList(const std::filesystem::path &path, KeyListKind kind);

// Attribute file. Saving replaces the list's section and keeps the other sections of the
// file at path (when it exists); entries with the same name (regardless of letter case)
// keep one line. Loading fills `list` through its LoadFromNameValues, so a list class with
// more attributes reads more.
std::string attributeFileBytes(const std::filesystem::path &path, const TKeywordList &list);
std::string attributeFileBytes(const std::filesystem::path &path, const TStartStopKeyList &list);
void loadAttributeFile(const std::filesystem::path &path, TKeywordList &list);
void loadAttributeFile(const std::filesystem::path &path, TStartStopKeyList &list);

// ".kbn" file, as bytes and as files.
std::string kbnBytes(const TKeywordList &list);
std::string kbnBytes(const TStartStopKeyList &list);
void readKbn(std::string_view bytes, TKeywordList &list);
void readKbn(std::string_view bytes, TStartStopKeyList &list);
void loadKbnFile(const std::filesystem::path &path, TKeywordList &list);
void loadKbnFile(const std::filesystem::path &path, TStartStopKeyList &list);

} // namespace velmora::core
