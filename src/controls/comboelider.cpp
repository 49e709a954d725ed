#include "controls/comboelider.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <algorithm>

namespace {
QStyleOptionComboBox optionFor(const QComboBox *list)
{
    QStyleOptionComboBox opt;
    opt.initFrom(list);
    opt.editable = list->isEditable();
    opt.frame = list->hasFrame();
    opt.currentText = list->currentText();
    opt.iconSize = list->iconSize();
    opt.subControls = QStyle::SC_All;
    if (list->view()->isVisible())
        opt.state |= QStyle::State_On;
    return opt;
}
} // namespace

ComboElider::ComboElider(QComboBox *list) : QObject(list), m_list(list)
{
    list->installEventFilter(this);
    connect(list, &QComboBox::currentIndexChanged, this, &ComboElider::refresh);
    QAbstractItemModel *model = list->model();
    connect(model, &QAbstractItemModel::rowsInserted, this, &ComboElider::refresh);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &ComboElider::refresh);
    connect(model, &QAbstractItemModel::modelReset, this, &ComboElider::refresh);
    connect(model, &QAbstractItemModel::dataChanged, this, &ComboElider::refresh);
    refresh();
}

int ComboElider::textWidth() const
{
    QStyleOptionComboBox opt = optionFor(m_list);
    const QRect field = m_list->style()->subControlRect(QStyle::CC_ComboBox, &opt,
                                                        QStyle::SC_ComboBoxEditField, m_list);
    return field.width() - 2; // the label is drawn one pixel in from each side
}

QString ComboElider::shownText() const
{
    return m_list->fontMetrics().elidedText(m_list->currentText(), Qt::ElideRight, textWidth());
}

int ComboElider::popupWidth() const
{
    const QFontMetrics metrics(m_list->view()->font());
    int widest = 0;
    for (int i = 0; i < m_list->count(); ++i)
        widest = std::max(widest, metrics.horizontalAdvance(m_list->itemText(i)));
    // The item's own margins and a scrollbar, should the list grow one.
    const int frame = 2 * m_list->view()->frameWidth() + 16;
    const int scrollbar = m_list->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    return std::max(m_list->width(), widest + frame + scrollbar);
}

void ComboElider::refresh()
{
    const QString text = m_list->currentText();
    m_list->setToolTip(shownText() == text ? QString() : text);
    m_list->view()->setMinimumWidth(popupWidth());
}

bool ComboElider::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_list)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Paint: {
        // The toolkit clips a long line; draw it elided instead.
        QStylePainter painter(m_list);
        QStyleOptionComboBox opt = optionFor(m_list);
        painter.drawComplexControl(QStyle::CC_ComboBox, opt);
        opt.currentText = shownText();
        painter.drawControl(QStyle::CE_ComboBoxLabel, opt);
        return true;
    }
    case QEvent::Resize:
    case QEvent::FontChange:
    case QEvent::Show:
        refresh();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
