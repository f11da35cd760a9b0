#pragma once

#include <QWidget>

class QToolButton;

namespace mirelo {

// The music control on the toolbar: a Play and a Pause button, 57 x 25 pixels,
// with the hint " Music control ". It starts disabled; start-up enables it when
// music can play. It never enables or disables its buttons by itself.
class MediaControl : public QWidget {
    Q_OBJECT
public:
    explicit MediaControl(QWidget* parent = nullptr);

    QToolButton* PlayButton() const { return play_; }
    QToolButton* PauseButton() const { return pause_; }

private:
    QToolButton* play_;
    QToolButton* pause_;
};

} // namespace mirelo
