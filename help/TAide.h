#pragma once

#include <QDialog>
#include <QImage>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace mirelo {

class TileSheet;
class TLabel3D;
struct HelpText;

// The help window: the rules in English and in French, a table of every tile
// picture in the style in force, and the release notes.
class TAide : public QDialog {
    Q_OBJECT
public:
    // The pages of AideEnLigne, by index.
    static constexpr int English = 0;
    static constexpr int Francais = 1;
    static constexpr int Tiles = 2;
    static constexpr int Notes = 3;

    explicit TAide(QWidget* parent = nullptr);

    // ChangeTexture(tileStyle) on the sheet, paint Pai, then show modally.
    void HelpClick(TileSheet& sheet, int tileStyle);
    // Paints Pai without showing the window (tests and HelpClick).
    void PaintTiles(TileSheet& sheet, int tileStyle);

    // The tile table: 42 pictures and their captions on purple.
    QImage Pai;

    QPushButton* BitBtn1 = nullptr;
    QTabWidget* AideEnLigne = nullptr;
    QWidget* EnglishPage = nullptr;
    QWidget* FrancaisPage = nullptr;
    QWidget* TilesPage = nullptr;
    QWidget* NotesPage = nullptr;
    TLabel3D* EnglishTitle = nullptr;
    TLabel3D* FrancaisTitle = nullptr;
    QLabel* PaiView = nullptr;
    QPlainTextEdit* NotesMemo = nullptr;
    // The "OK" button of each page, by index.
    QPushButton* PageOK[4] = {};

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* TextPage(const HelpText& text, TLabel3D*& title, QPushButton*& ok);
    QWidget* BuildTilesPage();
    QWidget* BuildNotesPage();
    void PageShown(int index);
};

} // namespace mirelo
