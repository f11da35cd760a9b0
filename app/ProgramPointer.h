#pragma once

#include <QCursor>
#include <QObject>

namespace mirelo {

// The program's own pointer in every one of its windows: the main window,
// dialogs, message boxes, menus. A widget that asks for a pointer of its own
// (a link's hand, a text field's beam) keeps it.
class ProgramPointer final : public QObject {
public:
    ProgramPointer(const QCursor& cursor, QObject* parent);
    ~ProgramPointer() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QCursor cursor_;
};

} // namespace mirelo
