#include "HelpTexts.h"

namespace mirelo {

HelpText EnglishHelp() {
    return {
        QStringLiteral("Welcome to Mirelo"),
        {
            {QString(),
             {QStringLiteral(
                  "Mirelo is a game of mahjong solitaire. 144 tiles lie stacked on up to "
                  "five levels, and you take the board apart, pair by pair, against the "
                  "clock. Look before you pick: a careless pair can bury the tile you "
                  "will need later."),
              QStringLiteral(
                  "This version of MIRELO works only under Windows 95, and is best viewed "
                  "in 800x600 with 65536 colors.")}},
            {QStringLiteral("The rules"),
             {QStringLiteral(
                  "The purpose of the game is to remove all the tiles from a board. The "
                  "tiles must be removed by pairs : two identical tiles, or two Season "
                  "tiles, or two Flower tiles. They have to be free on their left or right "
                  "side, otherwise you can't remove them."),
              QStringLiteral(
                  "A free tile also has nothing lying on it, not even a corner of another "
                  "tile. Every picture appears four times, except the four Flowers and "
                  "the four Seasons, which are all different but pair within their "
                  "family. The Tiles page shows them all.")}},
            {QStringLiteral("How to play"),
             {QStringLiteral(
                  "Click a free tile to pick it: it changes colour. Click a second free "
                  "tile with the same face and the pair leaves the board. Click the "
                  "picked tile again to let it go; a free tile that does not match "
                  "becomes the new pick. A tile that is not free cannot be picked; in the "
                  "full edition, with sound effects on, a beep tells you so."),
              QStringLiteral("A right click drops your pick and any hint."),
              QStringLiteral(
                  "Back (Ctrl+Z) puts the last pair back where it was, and again, down to "
                  "the full deal, at no cost. Restart (Ctrl+R) starts the same deal over "
                  "with the clock at zero; New (Ctrl+N) deals a new board."),
              QStringLiteral("Hint (Ctrl+H) shows a possible move, and the next one each time you "
                             "ask; every hint adds 40 seconds to your time. Shuffle (Ctrl+S) "
                             "redistributes the tiles left over the places they hold until a move "
                             "exists, and adds 10 seconds for every move it creates."),
              QStringLiteral(
                  "The status line counts the tiles and the moves left, and warns you when "
                  "no move is left. A game stops for good at 100 minutes. The clock keeps "
                  "running while this window is open: Pause (Ctrl+P) first, and the board "
                  "hides until you resume, the paused time left out."),
              QStringLiteral(
                  "Clear the board fast enough and your name enters the Hall of Fame: the "
                  "ten best times of each layout, shown beside the board. Choose your "
                  "name under Options, Player name."),
              QStringLiteral(
                  "The Layout menu holds five boards, from Theater (very easy) to Beatle "
                  "(nightmare). Dragon stays greyed until you find out how to unlock it; "
                  "that is for you to discover. The Tiles and Background menus change "
                  "the look of the game.")}},
            {QStringLiteral("No warranty"),
             {QStringLiteral(
                 "Mirelo is provided as it is, without warranty of any kind, express or "
                 "implied, including but not limited to fitness for a particular "
                 "purpose. In no event shall the authors be liable for any damage or "
                 "loss arising from its use. You use it at your own risk.")}},
        },
    };
}

HelpText FrenchHelp() {
    return {
        QStringLiteral("Qu'est-ce que le Mahjongg Solitaire ?"),
        {
            {QString(),
             {QStringLiteral(
                 "Le Mahjongg Solitaire est un jeu de patience qui se joue seul, avec les "
                 "144 tuiles du mahjong. Les tuiles sont empilées sur un à cinq niveaux "
                 "et forment un plateau.")}},
            {QStringLiteral("Le but du jeu"),
             {QStringLiteral(
                 "Le but du jeu est de retirer toutes les tuiles du plateau, par paires. "
                 "Chaque motif figure quatre fois ; seules les quatre Fleurs et les "
                 "quatre Saisons sont toutes différentes.")}},
            {QStringLiteral("La règle"),
             {QStringLiteral(
                  "Une tuile ne peut être retirée que si elle est libre : son côté gauche "
                  "ou son côté droit doit être dégagé, et aucune autre tuile ne doit la "
                  "recouvrir, même en partie. Sinon, on ne peut pas la retirer."),
              QStringLiteral(
                  "Deux tuiles forment une paire quand elles sont identiques. Les Fleurs "
                  "et les Saisons font exception : deux Fleurs quelconques forment une "
                  "paire, de même que deux Saisons quelconques, mais une Fleur ne va pas "
                  "avec une Saison."),
              QStringLiteral("Cliquez sur une tuile libre pour la choisir, puis sur une seconde "
                             "tuile libre qui lui correspond : la paire quitte le plateau. Vous "
                             "gagnez quand le plateau est vide.")}},
            {QStringLiteral("Aucune garantie"),
             {QStringLiteral("Mirelo est fourni tel quel, sans aucune garantie, expresse ou "
                             "implicite. Les auteurs ne sauraient être tenus responsables des "
                             "dommages ou des pertes qui pourraient résulter de son utilisation. "
                             "Vous l'utilisez à vos propres risques.")}},
        },
    };
}

QString ReleaseNotes() {
    return QStringLiteral("MIRELO 2.8 - Release notes\n"
                          "\n"
                          "Version 2.8 for Linux\n"
                          "\n"
                          "- Mirelo now runs on the Linux desktop, built with Qt 6.\n"
                          "- Two programs: mirelo, with sound effects and music,\n"
                          "  and mirelo_silent, the same game without any sound.\n"
                          "- Five layouts: Theater, Traditional, Dragon, Big Hole\n"
                          "  and Beatle.\n"
                          "- Three tile styles (Wood, Blue, Red) and two backgrounds\n"
                          "  (Kanji, Dragons). The Tiles page of this window shows\n"
                          "  every picture in the style you play with.\n"
                          "- Three ways to show the tile under the pointer: none,\n"
                          "  a rectangle, or a colour (Options, Highlight).\n"
                          "- Hint cycles through every possible move, at 40 seconds\n"
                          "  each. Shuffle redistributes the tiles left until a move\n"
                          "  exists, at 10 seconds for each move it creates.\n"
                          "- Back undoes pairs one by one, down to the full deal.\n"
                          "- The clock stops a game at 100 minutes.\n"
                          "- The Hall of Fame keeps the ten best times of each\n"
                          "  layout, with the player's name.\n"
                          "- Your options, your name and the Hall of Fame are kept\n"
                          "  in the file Mirelo.ini in your configuration folder\n"
                          "  ($XDG_CONFIG_HOME, or else ~/.config).\n"
                          "- Four tunes play in an endless loop in the full\n"
                          "  edition: Ferral, Gokuraku, Mirelo and Gisors. They are\n"
                          "  the .mid files beside the program.\n"
                          "- Only one copy of Mirelo runs at a time: starting a\n"
                          "  second copy brings the first one to the front.\n"
                          "\n"
                          "Good to know\n"
                          "\n"
                          "- Deals are random, and a random board may have no way\n"
                          "  through. Options, Configuration, \"Deal only winnable\n"
                          "  boards\" deals only boards that can be cleared, and\n"
                          "  Play, \"Can I still win?\" (Ctrl+W, 40 seconds) tells\n"
                          "  whether the board in play still can. Back, Shuffle\n"
                          "  and Restart are there for the hard ones.\n"
                          "- A result reaches the Hall of Fame file when you quit\n"
                          "  the game normally (Exit, Ctrl+C or the close box).\n"
                          "- On a screen 640 pixels wide the window is 640 x 480,\n"
                          "  without the toolbar and without the Hall of Fame\n"
                          "  beside the board; your results are still recorded.\n");
}

} // namespace mirelo
