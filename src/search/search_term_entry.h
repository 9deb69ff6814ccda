#pragma once

#include "platform/drive_map.h"

#include <QString>

#include <optional>

// What the search bar derives from its text, kept apart from the window so
// that each rule can be checked on its own.
namespace searchentry {

// Blanks and control characters (every character up to U+0020) leave the
// front of the bar at once, so the bar never starts with a blank.
QString withoutLeadingBlanks(const QString& text);

// The search text as the engine sees it: blanks and control characters
// removed at both ends.
QString trimmedSearchText(const QString& text);

// A blank or a tab makes the text a phrase; anything else is searched as one
// word (the any-word option).
enum class SearchMode { Phrase, AnyWord };
SearchMode searchModeOf(const QString& text);

// "#" + drive letter + ":\" + path: the user means a document file.
bool isPathEntry(const QString& trimmedText);

// The path entry with "#" and its drive letter dropped; starts with ":\".
QString pathWithoutDriveLetter(const QString& trimmedText);

// The part from the last "." of the file name; empty when it has none.
QString fileExtension(const QString& windowsPath);

// The two messages about a path entry carry this title.
QString pathEntryMessageTitle();
QString missingExtensionMessage(const QString& pathWithoutDrive);
QString notFoundMessage(const QString& pathWithoutDrive);
QString openWithProgramQuestion();

// Where a path entry is looked for: the drive search for moved documents
// (the program's drive, then A, B, D ... Z, the last one holding the file
// winning, then the program directory), and at last the path exactly as
// typed. The result is the native path of the file found.
std::optional<QString> locatePathEntry(const QString& trimmedText, const QString& programDirectory,
                                       const platform::DriveMap& drives);

// The text the clipboard receives after a local search: the whole text for a
// phrase, else its first word; a path entry the user opened loses its "#".
QString clipboardTextAfterSearch(const QString& searchText, bool phrase, bool pathOpened);

// Runs of characters other than the blank.
int wordCount(const QString& text);
QString tooManyWordsMessage(int count);
inline constexpr int kMaximumAnyWordCount = 5;

// A text cut inside a character by the hand-off ends in U+FFFD; the bar gets
// the text without it. Nothing when the text needs no repair.
std::optional<QString> withoutTrailingReplacementCharacter(const QString& text);

} // namespace searchentry
