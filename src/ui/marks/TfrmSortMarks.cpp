#include "TfrmSortMarks.h"

#include "AppSettings.h"
#include "Bookmarks.h"
#include "MainTypes.h"
#include "MessageService.h"
#include "SettingsStore.h"
#include "marks/BookmarkMenu.h"
#include "widgets/WindowSize.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace tavio {

namespace {
constexpr int DesignWidth = 300;
constexpr int DesignHeight = 350;

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, int helpContext)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setProperty("helpContext", helpContext);
    b->setAutoDefault(false);
    return b;
}
} // namespace

QString TfrmSortMarks::formKey()
{
    return AppSettings::formSettingsKey() + QStringLiteral("frmSortMarks\\");
}

TfrmSortMarks::TfrmSortMarks(BookmarkMenu& marks, bool showHints, QWidget* mainWindow)
    : QDialog(mainWindow,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                  | Qt::WindowCloseButtonHint | Qt::WindowContextHelpButtonHint)
    , m_marks(marks)
    , m_showHints(showHints)
{
    setObjectName(QStringLiteral("frmSortMarks"));
    setWindowTitle(QStringLiteral("Editovat záložky"));
    setProperty("helpContext", 34);

    m_lbMarks = new QListWidget(this);
    m_lbMarks->setObjectName(QStringLiteral("lbMarks"));
    m_lbMarks->setProperty("helpContext", 42);
    m_lbMarks->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_lbMarks->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lbMarks->setMouseTracking(true);
    m_lbMarks->viewport()->installEventFilter(this);

    m_btnOK = makeButton(this, "btnOK", QStringLiteral("&OK"), 35);
    m_btnStorno = makeButton(this, "btnStorno", QStringLiteral("&Storno"), 36);
    m_btnUp = makeButton(this, "btnUp", QStringLiteral("&Nahoru"), 37);
    m_btnDown = makeButton(this, "btnDown", QStringLiteral("&Dolů    "), 38);
    m_btnEdit = makeButton(this, "btnEdit", QStringLiteral("&Změnit název"), 39);
    m_btnDelete = makeButton(this, "btnDelete", QStringLiteral("S&mazat"), 40);
    m_btnDeleteAll = makeButton(this, "btnDeleteAll", QStringLiteral("Smazat &vše"), 41);

    auto* panel = new QVBoxLayout;
    panel->addWidget(m_btnOK);
    panel->addWidget(m_btnStorno);
    panel->addStretch(1);
    for (QPushButton* b : {m_btnUp, m_btnDown, m_btnEdit, m_btnDelete, m_btnDeleteAll})
        panel->addWidget(b);

    auto* body = new QHBoxLayout;
    body->addWidget(m_lbMarks, 1);
    body->addLayout(panel);

    m_stbMarks = new QStatusBar(this);
    m_stbMarks->setObjectName(QStringLiteral("stbMarks"));
    m_stbMarks->setProperty("helpContext", 43);
    m_panel = new QLabel(m_stbMarks);
    m_stbMarks->addWidget(m_panel, 1);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 6, 6, 0);
    outer->addLayout(body, 1);
    outer->addWidget(m_stbMarks);

    setMinimumSize(GrownLeastSize(this, {DesignWidth, DesignHeight}));
    resize(minimumSize());

    connect(m_btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_btnStorno, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_btnUp, &QPushButton::clicked, this, &TfrmSortMarks::btnUpClick);
    connect(m_btnDown, &QPushButton::clicked, this, &TfrmSortMarks::btnDownClick);
    connect(m_btnEdit, &QPushButton::clicked, this, &TfrmSortMarks::btnEditClick);
    connect(m_btnDelete, &QPushButton::clicked, this, &TfrmSortMarks::btnDeleteClick);
    connect(m_btnDeleteAll, &QPushButton::clicked, this, &TfrmSortMarks::btnDeleteAllClick);
    connect(m_lbMarks, &QListWidget::itemDoubleClicked, this, &TfrmSortMarks::btnEditClick);

    // FormCreate: saved bounds where they exist, otherwise centred on the main window.
    const SettingsStore& store = m_marks.store();
    const QString key = formKey();
    if (store.keyExists(key)) {
        QRect r = geometry();
        if (const auto v = store.readInteger(key, QStringLiteral("Left")))
            r.moveLeft(*v);
        if (const auto v = store.readInteger(key, QStringLiteral("Top")))
            r.moveTop(*v);
        if (const auto v = store.readInteger(key, QStringLiteral("Width")))
            r.setWidth(std::max(*v, DesignWidth));
        if (const auto v = store.readInteger(key, QStringLiteral("Height")))
            r.setHeight(std::max(*v, DesignHeight));
        setGeometry(r);
    } else if (mainWindow) {
        move(mainWindow->geometry().center() - rect().center());
    }
}

TfrmSortMarks::~TfrmSortMarks()
{
    SettingsStore& store = m_marks.store();
    const QString key = formKey();
    const QRect r = geometry();
    store.writeInteger(key, QStringLiteral("Left"), r.left());
    store.writeInteger(key, QStringLiteral("Top"), r.top());
    store.writeInteger(key, QStringLiteral("Width"), r.width());
    store.writeInteger(key, QStringLiteral("Height"), r.height());
}

QString TfrmSortMarks::statusText() const
{
    return m_panel->text();
}

QStringList TfrmSortMarks::lines() const
{
    QStringList out;
    for (int i = 0; i < m_lbMarks->count(); ++i)
        out.append(m_lbMarks->item(i)->text());
    return out;
}

void TfrmSortMarks::showEvent(QShowEvent* event)
{
    FormShow();
    QDialog::showEvent(event);
}

void TfrmSortMarks::FormShow()
{
    m_lbMarks->clear();
    m_lbMarksInv.clear();
    const Bookmarks& marks = m_marks.bookmarks();
    const int items = int(marks.menu().size());
    for (int i = MarkCommandCount; i < items; ++i) {
        const TTreeMark* m = marks.entryAt(i);
        m_lbMarks->addItem(UnescapeAmpersands(m ? m->Caption : QString()));
        m_lbMarksInv.append(i);
    }
    m_lbMarks->setCurrentRow(m_lbMarks->count() > 0 ? 0 : -1);
}

void TfrmSortMarks::swapLines(int a, int b)
{
    QListWidgetItem* first = m_lbMarks->item(a);
    QListWidgetItem* second = m_lbMarks->item(b);
    const QString text = first->text();
    first->setText(second->text());
    second->setText(text);
    first->setToolTip(QString());
    second->setToolTip(QString());
    m_lbMarksInv.swapItemsAt(a, b);
}

void TfrmSortMarks::btnUpClick()
{
    const int j = m_lbMarks->currentRow();
    if (j <= 0)
        return;
    swapLines(j - 1, j);
    m_lbMarks->setCurrentRow(j - 1);
}

void TfrmSortMarks::btnDownClick()
{
    const int j = m_lbMarks->currentRow();
    if (j < 0 || j >= m_lbMarks->count() - 1)
        return;
    swapLines(j, j + 1);
    m_lbMarks->setCurrentRow(j + 1);
}

void TfrmSortMarks::btnEditClick()
{
    QListWidgetItem* item = m_lbMarks->currentItem();
    if (!item)
        return;
    const QString offered = item->text();
    const auto entered = m_marks.dialogs.inputText(this, QStringLiteral("Změnit název záložky"),
                                                   QStringLiteral("Zadejte nový název záložky:"), offered);
    // Cancel gives back what was offered.
    const QString name = entered.value_or(offered).trimmed();
    if (name.isEmpty()) {
        ShowMessage(this, QStringLiteral("Nebyl zadán název záložky"), MsgIcon::Error);
        return;
    }
    item->setText(name);
}

void TfrmSortMarks::btnDeleteClick()
{
    const int j = m_lbMarks->currentRow();
    if (j < 0)
        return;
    delete m_lbMarks->takeItem(j);
    m_lbMarksInv.removeAt(j);
    const int n = m_lbMarks->count();
    m_lbMarks->setCurrentRow(n == 0 ? -1 : std::min(j, n - 1));
}

void TfrmSortMarks::btnDeleteAllClick()
{
    m_lbMarks->clear();
    m_lbMarksInv.clear();
}

void TfrmSortMarks::lbMarksMouseMove(const QPoint& pos)
{
    QListWidgetItem* item = m_lbMarks->itemAt(pos);
    if (!item) {
        m_panel->clear();
        m_hint.clear();
        return;
    }
    const int row = m_lbMarks->row(item);
    const TTreeMark* mark = m_marks.bookmarks().entryAt(m_lbMarksInv.value(row, -1));
    m_panel->setText(mark ? QDir::toNativeSeparators(mark->FileName) : QString());
    // A name that the list cuts off is shown whole in the hint.
    const QString text = item->text();
    const bool wide = m_lbMarks->fontMetrics().horizontalAdvance(text) > m_lbMarks->width() - 15;
    m_hint = m_showHints && wide ? text : QString();
    item->setToolTip(m_hint);
}

bool TfrmSortMarks::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_lbMarks->viewport() && event->type() == QEvent::MouseMove)
        lbMarksMouseMove(static_cast<QMouseEvent*>(event)->position().toPoint());
    return QDialog::eventFilter(watched, event);
}

void TfrmSortMarks::done(int result)
{
    if (result == QDialog::Accepted)
        FormClose();
    QDialog::done(result);
}

void TfrmSortMarks::FormClose()
{
    const Bookmarks& marks = m_marks.bookmarks();
    QList<TTreeMark> list = marks.commandEntries();
    for (int j = 0; j < m_lbMarks->count(); ++j) {
        const TTreeMark* old = marks.entryAt(m_lbMarksInv[j]);
        TTreeMark m;
        if (old) {
            m.TreeType = old->TreeType;
            m.AbsolutId = old->AbsolutId;
            m.FileName = old->FileName;
        }
        m.Caption = EscapeAmpersands(m_lbMarks->item(j)->text());
        m.Name = QStringLiteral("mark_") + QString::number(j);
        m.ShortCut = 0;
        list.append(m);
    }
    m_marks.replaceBookmarks(list);
}

} // namespace tavio
