#include "ProgramPointer.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace mirelo {

ProgramPointer::ProgramPointer(const QCursor& cursor, QObject* parent)
    : QObject(parent), cursor_(cursor) {
    // Message boxes and menus are made by Qt, out of the game's reach: every
    // window is given the pointer as it is about to show.
    qApp->installEventFilter(this);
}

ProgramPointer::~ProgramPointer() {
    qApp->removeEventFilter(this);
}

bool ProgramPointer::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        if (widget->isWindow() && !widget->testAttribute(Qt::WA_SetCursor))
            widget->setCursor(cursor_);
    }
    return false;
}

} // namespace mirelo
