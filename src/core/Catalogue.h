#pragma once

#include <QString>

#include <functional>

class QIODevice;

// The chapter catalogue: every "*.htm" file of the chapter folder listed under its
// file name and the title of its first level-two heading, parts of one chapter
// grouped under the chapter number.
namespace tavio {

class ChapterTree;
class TreeNode;

enum class TitleStatus { Ok, NotFound, ReadError };

struct ChapterTitle
{
    QString title;
    TitleStatus status = TitleStatus::Ok;
    QString error;
};

// The title of a chapter file: the text after the dash of the first line that
// begins with <H2> (either case), up to the closing tag, possibly continued on the
// next line; its first character upper-cased.
ChapterTitle ReadChapterTitle(const QString& path);
// The same from an open device.
ChapterTitle ReadChapterTitle(QIODevice& device);

struct CatalogueCallbacks
{
    // Runs once per file so that the window stays responsive during a long scan.
    std::function<void()> pump;
    // A chapter file that vanished before its title could be read.
    std::function<void(const QString& path)> fileNotFound;
};

// The file's title as a catalogue caption's tail.
QString ChapterCaption(const QString& fileName, const QString& title, bool grouped);

// Refills the tree from folder (ending with a separator). True when the folder holds
// at least one "*.htm" file. An unreadable chapter ends the scan with the nodes
// read so far.
bool BuildCatalogue(ChapterTree& tree, const QString& folder, const CatalogueCallbacks& callbacks = {});

// Sorts every level by the Czech collation.
void SortByCaption(ChapterTree& tree);

// Image indexes shared by the chapter trees.
namespace image {
inline constexpr int Chapter = 0;
inline constexpr int FolderClosed = 1;
inline constexpr int FolderOpen = 5;
inline constexpr int MarkedFolderClosed = 22;
inline constexpr int MarkedFolderOpen = 23;
} // namespace image

// Searches the captions after (or, upward, before) the node at startIndex, counted
// over all levels in display order; -1 starts before the first node.
TreeNode* FindTreeNode(const ChapterTree& tree, int startIndex, const QString& text, bool wholeWords,
                       bool matchCase, bool upward);

} // namespace tavio
