#include "CustomTree.h"

#include "Catalogue.h"
#include "ChapterTree.h"
#include "Cp1250.h"
#include "MainTypes.h"
#include "TextFile.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLoggingCategory>

#include <array>
#include <functional>
#include <vector>

Q_LOGGING_CATEGORY(lcCustomTree, "tavio.customtree")

namespace tavio {

namespace {

constexpr qint64 BlockSize = 256 * 1024;

// The code page is single-byte, so one table per direction converts a whole tree
// file without a converter call per line. Both are taken from the shared codec.
struct Codec
{
    std::array<char16_t, 256> toUnicode{};
    QHash<char16_t, char> fromUnicode;

    Codec()
    {
        for (int b = 0; b < 256; ++b) {
            const char byte = char(b);
            const QString s = cp1250::toUnicode(QByteArrayView(&byte, 1));
            toUnicode[size_t(b)] = s.size() == 1 ? s[0].unicode() : u'?';
            if (b >= 0x80 && s.size() == 1)
                fromUnicode.insert(s[0].unicode(), byte);
        }
    }

    QString decode(QByteArrayView bytes) const
    {
        QString out(bytes.size(), Qt::Uninitialized);
        char16_t* d = reinterpret_cast<char16_t*>(out.data());
        for (qsizetype i = 0; i < bytes.size(); ++i)
            d[i] = toUnicode[uchar(bytes[i])];
        return out;
    }

    void encodeAppend(QStringView text, QByteArray& out) const
    {
        for (const QChar c : text) {
            const char16_t u = c.unicode();
            if (u < 0x80) {
                out.append(char(u));
            } else if (const auto it = fromUnicode.constFind(u); it != fromUnicode.cend()) {
                out.append(*it);
            } else if (c.isLowSurrogate()) {
                continue; // its high surrogate already stood for the character
            } else {
                out.append('?');
            }
        }
    }
};

const Codec& codec()
{
    static const Codec c;
    return c;
}

// Calls onLine for every line of the text: a line ends at CR LF, a lone CR or a
// lone LF; a final line end makes no extra line; a NUL ends the text. The file is
// read in blocks, so only the current line is ever held besides the tree.
bool forEachLine(QIODevice& device, const std::function<bool(QByteArrayView)>& onLine, QString* error)
{
    QByteArray block(BlockSize, Qt::Uninitialized);
    QByteArray carry;
    bool afterCr = false;
    qint64 total = 0;
    for (;;) {
        const qint64 got = device.read(block.data(), BlockSize);
        if (got < 0) {
            if (error)
                *error = device.errorString();
            return false;
        }
        if (got == 0)
            break;
        total += got;
        if (total > MaxCustomTreeFileSize) {
            if (error)
                *error = QStringLiteral("Soubor je příliš velký.");
            return false;
        }
        const char* d = block.constData();
        qsizetype start = 0;
        if (afterCr && d[0] == '\n')
            start = 1;
        afterCr = false;
        for (qsizetype i = start; i < got; ++i) {
            const char c = d[i];
            if (c != '\r' && c != '\n' && c != '\0')
                continue;
            QByteArrayView line(d + start, i - start);
            if (!carry.isEmpty()) {
                carry.append(line);
                line = carry;
            }
            // The text ends at a NUL: what precedes it on its line is the last line.
            if (c == '\0')
                return line.isEmpty() || onLine(line);
            if (!onLine(line))
                return false;
            carry.clear();
            if (c == '\r') {
                if (i + 1 < got) {
                    if (d[i + 1] == '\n')
                        ++i;
                } else {
                    afterCr = true; // its LF may open the next block
                }
            }
            start = i + 1;
        }
        carry.append(d + start, got - start);
    }
    return carry.isEmpty() || onLine(carry);
}

void postProcess(ChapterTree& tree)
{
    tree.forEach([](TreeNode* n) {
        n->caption = DecodeAmpEntities(n->caption);
        n->imageIndex = CustomNodeImage(*n);
        n->selectedIndex = n->imageIndex;
    });
}

// A caption holding a line end or a NUL would come back as several nodes, or end
// the text; it is written with blanks in their places.
QString lineSafe(const QString& caption)
{
    QString out = caption;
    for (QChar& c : out) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar(0))
            c = QLatin1Char(' ');
    }
    return out;
}

bool hasLineBreakOrNul(const QString& caption)
{
    for (const QChar c : caption) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar(0))
            return true;
    }
    return false;
}

} // namespace

int CustomNodeImage(const TreeNode& node)
{
    if (node.hasChildren())
        return image::FolderClosed;
    const QString ext = CaptionFileExt(node.caption);
    return ext.left(4).compare(QLatin1String(".htm"), Qt::CaseInsensitive) == 0 ? image::Chapter
                                                                                : image::FolderClosed;
}

bool ReadCustomTree(ChapterTree& tree, QIODevice& device, QString* error)
{
    tree.clear();
    const Codec& cp = codec();
    // path[d] is the node of depth d on the way down to the previous node.
    std::vector<TreeNode*> path;
    qint64 lineNumber = 0;
    QString failure;
    const bool ok = forEachLine(
        device,
        [&](QByteArrayView line) {
            ++lineNumber;
            qsizetype depth = 0;
            while (depth < line.size() && (line[depth] == '\t' || line[depth] == ' '))
                ++depth;
            const QString caption = cp.decode(line.sliced(depth));
            // The first line is a top-level node whatever its indentation.
            if (path.empty())
                depth = 0;
            const qsizetype previous = qsizetype(path.size()) - 1;
            if (depth > previous + 1) {
                failure = QStringLiteral("Řádek %1: hloubka %2, nejvýše je povolena %3.")
                                 .arg(lineNumber)
                                 .arg(depth)
                                 .arg(previous + 1);
                return false;
            }
            TreeNode* parent = depth == 0 ? nullptr : path[size_t(depth - 1)];
            path.resize(size_t(depth));
            path.push_back(tree.addChild(parent, caption, image::Chapter));
            return true;
        },
        &failure);
    // The nodes read before a failure stay, and are shown with their proper kinds too.
    postProcess(tree);
    if (!ok) {
        qCWarning(lcCustomTree) << "tree file not read to its end:" << failure;
        if (error)
            *error = failure;
    }
    return ok;
}

bool LoadCustomTree(ChapterTree& tree, const QString& path, QString* error, bool* replaced)
{
    if (replaced)
        *replaced = false;
    // Only a regular file is read: a folder fails, and a pipe or a device would
    // block or never end.
    const QFileInfo info(path);
    if (!info.isFile()) {
        if (error)
            *error = info.exists() ? QStringLiteral("Nejde o soubor.") : QStringLiteral("Soubor neexistuje.");
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    if (file.size() > MaxCustomTreeFileSize) {
        if (error)
            *error = QStringLiteral("Soubor je příliš velký.");
        return false;
    }
    if (replaced)
        *replaced = true;
    return ReadCustomTree(tree, file, error);
}

QByteArray CustomTreeBytes(const ChapterTree& tree)
{
    const Codec& cp = codec();
    QByteArray bytes;
    struct Item
    {
        const TreeNode* node;
        int depth;
    };
    // Iterative pre-order with the depth at hand: a deep tree must not exhaust the stack.
    std::vector<Item> stack;
    const TreeNode* root = tree.root();
    for (int i = root->childCount() - 1; i >= 0; --i)
        stack.push_back({root->child(i), 0});
    while (!stack.empty()) {
        const Item item = stack.back();
        stack.pop_back();
        bytes.append(item.depth, '\t');
        const QString& caption = item.node->caption;
        if (hasLineBreakOrNul(caption))
            cp.encodeAppend(lineSafe(caption), bytes);
        else
            cp.encodeAppend(caption, bytes);
        bytes.append("\r\n", 2);
        for (int i = item.node->childCount() - 1; i >= 0; --i)
            stack.push_back({item.node->child(i), item.depth + 1});
    }
    return bytes;
}

bool SaveCustomTree(const ChapterTree& tree, const QString& path, QString* error)
{
    FileError failure;
    if (!WriteFileBytes(path, CustomTreeBytes(tree), &failure)) {
        if (error)
            *error = failure.message;
        return false;
    }
    return true;
}

QString CustomTreeBackupPath(const QString& path)
{
    return path + QStringLiteral(".bak");
}

bool BackUpCustomTree(const QString& path, QString* error)
{
    auto fail = [&](const QString& message) {
        if (error)
            *error = message;
        return false;
    };
    if (!QFileInfo(path).isFile())
        return fail(QStringLiteral("Nejde o soubor."));
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return fail(in.errorString());
    FileError failure;
    QString readError;
    const bool saved = SaveAtomically(
        CustomTreeBackupPath(path),
        [&](QIODevice& out) {
            QByteArray block(BlockSize, Qt::Uninitialized);
            for (;;) {
                const qint64 got = in.read(block.data(), BlockSize);
                if (got < 0) {
                    readError = in.errorString();
                    return false;
                }
                if (got == 0)
                    return true;
                if (out.write(block.constData(), got) != got)
                    return false;
            }
        },
        &failure);
    return saved || fail(readError.isEmpty() ? failure.message : readError);
}

void CopyCatalogueToCustomTree(ChapterTree& custom, const ChapterTree& catalogue)
{
    custom.copyFrom(catalogue);
}

bool IsInCustomTree(const ChapterTree& tree, const QString& caption)
{
    bool found = false;
    tree.forEach([&](TreeNode* n) {
        if (!found && n->caption == caption)
            found = true;
    });
    return found;
}

} // namespace tavio
