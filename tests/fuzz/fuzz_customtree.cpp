// The custom tree file: a tree that was read, written and read again is the same.
#include "FuzzSupport.h"

#include "ChapterTree.h"
#include "CustomTree.h"

#include <QBuffer>

namespace {

bool sameNodes(const tavio::TreeNode* a, const tavio::TreeNode* b)
{
    if (a->caption != b->caption || a->imageIndex != b->imageIndex || a->selectedIndex != b->selectedIndex
        || a->childCount() != b->childCount())
        return false;
    for (int i = 0; i < a->childCount(); ++i) {
        if (!sameNodes(a->child(i), b->child(i)))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::quiet();
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    tavio::ChapterTree tree;
    if (!tavio::ReadCustomTree(tree, buffer))
        return 0;
    QByteArray written = tavio::CustomTreeBytes(tree);
    QBuffer back(&written);
    back.open(QIODevice::ReadOnly);
    tavio::ChapterTree again;
    FUZZ_CHECK(tavio::ReadCustomTree(again, back));
    FUZZ_CHECK(sameNodes(tree.root(), again.root()));
    return 0;
}
