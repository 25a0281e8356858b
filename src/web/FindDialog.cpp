#include "FindDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>

namespace tavio {

FindDialog::FindDialog(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Najít"));
    setModal(false);
    auto* label = new QLabel(QStringLiteral("&Najít:"), this);
    m_text = new QLineEdit(this);
    label->setBuddy(m_text);
    m_wholeWords = new QCheckBox(QStringLiteral("&Pouze celá slova"), this);
    m_matchCase = new QCheckBox(QStringLiteral("&Rozlišovat velká a malá písmena"), this);
    auto* direction = new QGroupBox(QStringLiteral("Směr"), this);
    m_up = new QRadioButton(QStringLiteral("Na&horu"), direction);
    m_down = new QRadioButton(QStringLiteral("&Dolů"), direction);
    m_down->setChecked(true);
    auto* dirLayout = new QHBoxLayout(direction);
    dirLayout->addWidget(m_up);
    dirLayout->addWidget(m_down);

    m_findNext = new QPushButton(QStringLiteral("Najít &další"), this);
    m_findNext->setDefault(true);
    m_findNext->setEnabled(false);
    auto* cancel = new QPushButton(QStringLiteral("Storno"), this);

    auto* grid = new QGridLayout(this);
    grid->addWidget(label, 0, 0);
    grid->addWidget(m_text, 0, 1, 1, 2);
    grid->addWidget(m_findNext, 0, 3);
    grid->addWidget(m_wholeWords, 1, 0, 1, 2);
    grid->addWidget(direction, 1, 2, 2, 1);
    grid->addWidget(cancel, 1, 3);
    grid->addWidget(m_matchCase, 2, 0, 1, 2);
    // Stays empty (and takes no room) for the owners that do not count.
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("lblFindCount"));
    m_count->setVisible(false);
    grid->addWidget(m_count, 3, 0, 1, 4);

    auto* again = new QShortcut(QKeySequence(Qt::Key_F3), this);
    connect(again, &QShortcut::activated, this, [this] {
        if (!m_text->text().isEmpty())
            emit findAgain(false);
    });
    auto* back = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), this);
    connect(back, &QShortcut::activated, this, [this] {
        if (!m_text->text().isEmpty())
            emit findAgain(true);
    });
    connect(m_text, &QLineEdit::textChanged, this, &FindDialog::searchChanged);
    connect(m_wholeWords, &QCheckBox::toggled, this, &FindDialog::searchChanged);
    connect(m_matchCase, &QCheckBox::toggled, this, &FindDialog::searchChanged);

    connect(m_text, &QLineEdit::textChanged, this, [this](const QString& t) { m_findNext->setEnabled(!t.isEmpty()); });
    connect(m_findNext, &QPushButton::clicked, this, &FindDialog::findNext);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString FindDialog::findText() const
{
    return m_text->text();
}

void FindDialog::setFindText(const QString& text)
{
    m_text->setText(text);
}

bool FindDialog::wholeWords() const
{
    return m_wholeWords->isChecked();
}

bool FindDialog::matchCase() const
{
    return m_matchCase->isChecked();
}

bool FindDialog::upward() const
{
    return m_up->isChecked();
}

void FindDialog::setUpward(bool up)
{
    (up ? m_up : m_down)->setChecked(true);
}

void FindDialog::setWholeWordsVisible(bool visible)
{
    m_wholeWords->setVisible(visible);
    if (!visible)
        m_wholeWords->setChecked(false);
}

void FindDialog::showMatch(const QRect& match)
{
    if (match.isEmpty()) {
        emit matchShown(false);
        return;
    }
    // A little room around the match, so that its line stays readable.
    const QRect keepClear = match.adjusted(-8, -8, 8, 8);
    const QRect frame = frameGeometry();
    if (isVisible() && frame.intersects(keepClear)) {
        const QScreen* s = screen();
        const QRect area = s ? s->availableGeometry() : QRect();
        QPoint to = frame.topLeft();
        if (area.isNull() || keepClear.bottom() + frame.height() <= area.bottom())
            to.setY(keepClear.bottom() + 1);
        else
            to.setY(keepClear.top() - frame.height());
        if (!area.isNull())
            to.setY(std::clamp(to.y(), area.top(), std::max(area.top(), area.bottom() - frame.height())));
        move(to);
    }
    emit matchShown(true);
}

void FindDialog::showCount(int current, int total)
{
    if (total <= 0)
        m_count->setText(QStringLiteral("Hledané slovo nebylo nalezeno"));
    else
        m_count->setText(QStringLiteral("%1 z %2").arg(current).arg(total));
    m_count->setVisible(!m_text->text().isEmpty());
}

QString FindDialog::countText() const
{
    return m_count->isVisible() ? m_count->text() : QString();
}

void FindDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_text->setFocus();
    m_text->selectAll();
    emit shown();
    emit searchChanged();
}

} // namespace tavio
