#include "panels/panel_controls.h"

#include <QByteArray>
#include <QStringList>
#include <QVariant>
#include <QWheelEvent>

#include "render/output/qt/text_codec.h"
#include "util/codepage.h"
#include "util/numbers.h"

namespace varnex {
namespace {

// The longest text taken from an edit box, in bytes (a 256-byte buffer with its NUL).
constexpr std::size_t kEditReadLimit = 255;
// The property of an edit box that holds the bytes its text was last shown from.
constexpr const char* kShownBytes = "varnexShownBytes";

// A list that takes the wheel only while it has the focus, as the lists of a dialog do: turning the
// wheel over a panel passes over its lists without changing what they show.
class PanelList : public QComboBox {
public:
    using QComboBox::QComboBox;

protected:
    void wheelEvent(QWheelEvent* event) override {
        if (hasFocus()) {
            QComboBox::wheelEvent(event);
        } else {
            event->ignore();
        }
    }
};

QStringList itemTexts(ListKind kind) {
    QStringList items;
    for (std::string_view item : listItems(kind)) {
        items << QString::fromUtf8(item.data(), static_cast<qsizetype>(item.size()));
    }
    return items;
}

}  // namespace

QWidget* createControl(const ControlPlan& plan, int closedListHeight, QWidget* parent) {
    const QString text = QString::fromUtf8(plan.text.data(), static_cast<qsizetype>(plan.text.size()));
    QWidget* control = nullptr;
    int height = plan.rect.height;
    switch (plan.kind) {
        case ControlKind::Label: {
            auto* label = new QLabel(text, parent);
            label->setTextFormat(Qt::PlainText);
            label->setAlignment((plan.rightAligned ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
            control = label;
            break;
        }
        case ControlKind::PlainEdit:
        case ControlKind::SunkenEdit: {
            auto* edit = new QLineEdit(text, parent);
            edit->setMaxLength(plan.limit);
            edit->setFrame(plan.kind == ControlKind::SunkenEdit || plan.border);
            edit->setReadOnly(plan.readOnly);
            edit->setCursorPosition(0);
            control = edit;
            break;
        }
        case ControlKind::List: {
            auto* list = new PanelList(parent);
            list->setEditable(false);
            list->setFocusPolicy(Qt::StrongFocus);  // the wheel neither focuses a list nor moves it
            list->addItems(itemTexts(plan.list));
            list->setMaxVisibleItems(plan.dropItems);
            list->setCurrentIndex(-1);
            height = closedListHeight;
            control = list;
            break;
        }
    }
    control->setObjectName(QStringLiteral("c%1").arg(plan.id));
    control->setGeometry(plan.rect.x, plan.rect.y, plan.rect.width, height);
    return control;
}

std::string_view firstLine(std::string_view text) {
    if (const auto lf = text.find('\n'); lf != std::string_view::npos) text = text.substr(0, lf);
    if (const auto cr = text.find('\r'); cr != std::string_view::npos) text = text.substr(0, cr);
    return text;
}

void setControlText(QLabel* label, std::string_view text) {
    const QString shown = fromCodePage(firstLine(text));
    if (label->text() != shown) label->setText(shown);
}

void setControlText(QLineEdit* edit, std::string_view text) {
    const std::string_view line = firstLine(text);
    const QString shown = fromCodePage(line);
    edit->setProperty(kShownBytes, QByteArray(line.data(), static_cast<qsizetype>(line.size())));
    if (edit->text() == shown) return;
    edit->setText(shown);
    edit->setCursorPosition(0);
}

void setControlNumber(QLabel* label, std::string_view prefix, double value) {
    setControlText(label, std::string(prefix) + formatG(value));
}

void setControlNumber(QLineEdit* edit, double value) {
    setControlText(edit, formatG(value));
}

void selectPosition(QComboBox* list, int position) {
    list->setCurrentIndex(position >= 0 && position < list->count() ? position : -1);
}

void selectByPrefix(QComboBox* list, std::string_view text) {
    const QString prefix = fromCodePage(text);
    for (int i = 0; i < list->count(); ++i) {
        if (list->itemText(i).startsWith(prefix, Qt::CaseInsensitive)) {
            list->setCurrentIndex(i);
            return;
        }
    }
}

std::string editText(const QLineEdit* edit) {
    // A text the user did not edit keeps the bytes it was shown from, even those the code page cannot
    // decode (shown as U+FFFD, which would be stored as other bytes).
    const QByteArray shownBytes = edit->property(kShownBytes).toByteArray();
    const std::string_view shownView(shownBytes.constData(), static_cast<std::size_t>(shownBytes.size()));
    const bool unedited = !shownBytes.isEmpty() && edit->text() == fromCodePage(shownView);
    const std::string bytes = unedited ? std::string(shownView) : toCodePage(edit->text());
    return std::string(firstLine(cutToFit(bytes, kEditReadLimit)));
}

double editNumber(const QLineEdit* edit) {
    return parseLeadingNumber(editText(edit));
}

std::optional<int> listPosition(const QComboBox* list) {
    const int position = list->currentIndex();
    if (position < 0) return std::nullopt;
    return position;
}

std::optional<std::string> listItemText(const QComboBox* list) {
    if (list->currentIndex() < 0) return std::nullopt;
    return toCodePage(list->currentText());
}

}  // namespace varnex

#include <QApplication>
#include <QFontMetrics>
#include <QStyle>
#include <algorithm>

namespace varnex {

PanelMetrics panelMetrics(const QWidget* panel) {
    const QStyle* style = panel->style();
    PanelMetrics m;
    m.hc = style->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, panel);
    m.bd = style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, panel);
    const QFontMetrics font(panel->font());
    m.ht = font.height();
    // The widest row number in any digits of the font, with a pixel to spare for rounding.
    m.numberWidth = std::max(15, font.horizontalAdvance(QStringLiteral("888")) + 1);
    return m;
}

bool cycleFocus(const std::vector<QWidget*>& order, bool next) {
    if (order.empty()) return false;
    const auto takes = [](const QWidget* w) {
        return w->isVisibleTo(w->window()) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus);
    };
    const QWidget* focused = QApplication::focusWidget();
    const auto it = std::find(order.begin(), order.end(), focused);
    const auto n = static_cast<std::ptrdiff_t>(order.size());
    std::ptrdiff_t start = it == order.end() ? (next ? -1 : n) : it - order.begin();
    for (std::ptrdiff_t step = 1; step <= n; ++step) {
        const std::ptrdiff_t i = ((start + (next ? step : -step)) % n + n) % n;
        QWidget* w = order[static_cast<std::size_t>(i)];
        if (takes(w)) {
            w->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return false;
}

void giveKeyboardFocus(QWidget* w) {
    if (!w) return;
    // The window shows focus marks once a key moved the focus; a shortcut reason sets that, and a
    // control that has the focus already is marked too.
    w->window()->setAttribute(Qt::WA_KeyboardFocusChange);
    w->setFocus(Qt::ShortcutFocusReason);
    w->update();
}

}  // namespace varnex
