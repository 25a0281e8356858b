#include "TfrmQuickOpen.h"

#include <QAbstractListModel>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QVBoxLayout>

namespace tavio {

// The rows of the list: indexes into the matcher's chapters, replaced whole on
// every keystroke (cheaper than inserting and removing thousands of rows).
class QuickOpenModel final : public QAbstractListModel
{
public:
    explicit QuickOpenModel(const ChapterMatcher& matcher, QObject* parent)
        : QAbstractListModel(parent)
        , m_matcher(matcher)
    {
    }

    void setRows(std::vector<int> rows)
    {
        beginResetModel();
        m_rows = std::move(rows);
        endResetModel();
    }
    const std::vector<int>& rows() const{return m_rows; }

    int rowCount(const QModelIndex& parent) const override{return parent.isValid() ? 0 : int(m_rows.size()); }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= int(m_rows.size()))
            return {};
        const ChapterMatcher::Chapter& c = m_matcher.chapters()[size_t(m_rows[size_t(index.row())])];
        switch (role) {
        case Qt::DisplayRole:
        case Qt::AccessibleTextRole:
            return c.title.isEmpty() ? c.fileName : c.title + QStringLiteral("  (") + c.fileName + QLatin1Char(')');
        case Qt::ToolTipRole:
            return c.path;
        default:
            return {};
        }
    }

private:
    const ChapterMatcher& m_matcher;
    std::vector<int> m_rows;
};

TfrmQuickOpen::TfrmQuickOpen(std::vector<ChapterMatcher::Chapter> chapters, const QStringList& recent, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmQuickOpen"));
    setWindowTitle(QStringLiteral("Rychle otevřít kapitolu"));
    m_matcher.setChapters(std::move(chapters));
    m_matcher.setRecent(recent);

    m_edtQuery = new QLineEdit(this);
    m_edtQuery->setObjectName(QStringLiteral("edtQuickOpen"));
    m_edtQuery->setAccessibleName(QStringLiteral("Název nebo soubor kapitoly"));
    m_edtQuery->setPlaceholderText(QStringLiteral("Napište část názvu nebo jména souboru kapitoly"));
    m_edtQuery->setClearButtonEnabled(true);
    m_edtQuery->installEventFilter(this);

    m_model = new QuickOpenModel(m_matcher, this);
    m_lstChapters = new QListView(this);
    m_lstChapters->setObjectName(QStringLiteral("lstQuickOpen"));
    m_lstChapters->setAccessibleName(QStringLiteral("Kapitoly"));
    m_lstChapters->setModel(m_model);
    m_lstChapters->setUniformItemSizes(true); // thousands of rows lay out at once
    m_lstChapters->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_lstChapters->setSelectionMode(QAbstractItemView::SingleSelection);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_edtQuery);
    layout->addWidget(m_lstChapters);
    setTabOrder(m_edtQuery, m_lstChapters);
    resize(520, 380);

    connect(m_edtQuery, &QLineEdit::textChanged, this, &TfrmQuickOpen::refilter);
    connect(m_edtQuery, &QLineEdit::returnPressed, this, &TfrmQuickOpen::take);
    connect(m_lstChapters, &QListView::activated, this, &TfrmQuickOpen::take);
    refilter();
    m_edtQuery->setFocus();
}

TfrmQuickOpen::~TfrmQuickOpen() = default;

const std::vector<int>& TfrmQuickOpen::shown() const
{
    return m_model->rows();
}

std::optional<ChapterMatcher::Chapter> TfrmQuickOpen::current() const
{
    const QModelIndex i = m_lstChapters->currentIndex();
    if (!i.isValid() || i.row() >= int(m_model->rows().size()))
        return std::nullopt;
    return m_matcher.chapters()[size_t(m_model->rows()[size_t(i.row())])];
}

void TfrmQuickOpen::refilter()
{
    m_model->setRows(m_matcher.filter(m_edtQuery->text()));
    if (m_model->rowCount({}) > 0)
        m_lstChapters->setCurrentIndex(m_model->index(0, 0));
}

void TfrmQuickOpen::take()
{
    m_chosen = current();
    if (m_chosen)
        accept();
}

bool TfrmQuickOpen::eventFilter(QObject* watched, QEvent* event)
{
    // The cursor keys move through the list while the typing stays in the box.
    if (watched == m_edtQuery && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            QCoreApplication::sendEvent(m_lstChapters, event);
            return true;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace tavio
