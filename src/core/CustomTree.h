#pragma once

#include <QString>

class QIODevice;

// The custom tree's file (Custom.trw and any "*.trw"): one node per line in
// pre-order, a TAB per level of depth before the caption, Windows-1250, CR LF after
// every line. Nothing but captions and structure is stored; images, expansion and
// the marked folder are rebuilt after reading.
namespace tavio {

class ChapterTree;
class TreeNode;

// A tree file larger than this is not read at all: a real one holds a few hundred
// kilobytes, and every byte read becomes part of a node.
inline constexpr qint64 MaxCustomTreeFileSize = 128 * 1024 * 1024;

// Replaces the tree's nodes by the file's. A file that cannot be opened, is not a
// regular file or is too large leaves the tree as it was. A read error or a line
// indented more than one level deeper than the line before ends the reading; the
// nodes read up to there stay. False with an error text on any failure; replaced
// tells whether the tree's nodes were replaced at all.
bool LoadCustomTree(ChapterTree& tree, const QString& path, QString* error = nullptr, bool* replaced = nullptr);
bool ReadCustomTree(ChapterTree& tree, QIODevice& device, QString* error = nullptr);

// The file's bytes for the tree: a line per node in pre-order, indented by tabs.
QByteArray CustomTreeBytes(const ChapterTree& tree);
// Writes the tree beside the old file and replaces it only when complete, so a
// failure keeps the previous file. An empty tree gives an empty file.
bool SaveCustomTree(const ChapterTree& tree, const QString& path, QString* error = nullptr);

// Where a tree file that failed to load is kept before anything can overwrite it.
QString CustomTreeBackupPath(const QString& path);
// Copies the file to CustomTreeBackupPath; an older backup is replaced only when
// the copy is complete.
bool BackUpCustomTree(const QString& path, QString* error = nullptr);

// The custom tree's nodes become a copy of the catalogue's: captions, structure and
// images (the expansion is the view's and is not copied).
void CopyCatalogueToCustomTree(ChapterTree& custom, const ChapterTree& catalogue);
// True when a node has exactly this caption.
bool IsInCustomTree(const ChapterTree& tree, const QString& caption);

// The kind rule of a node read from a file: a node with children is a folder; a
// leaf is a chapter when its caption's file extension starts with ".htm" in any
// case, and a folder otherwise. Returns the image index.
int CustomNodeImage(const TreeNode& node);

} // namespace tavio
