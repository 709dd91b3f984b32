#include <QString>

#include "symbols/LEDBoardLook.h"
#include "symbols/LEDTablo.h"
#include "symbols/Pipe.h"
#include "symbols/PipeTurn.h"
#include "symbols/Silo.h"
#include "symbols/Title.h"
#include "tools/gallery/Gallery.h"

using namespace symbols;

namespace {

constexpr TColor kDarkGreen = 0x004000;

void Silos(Gallery& gallery) {
    gallery.Section("TSilo - storage 70 x 80, information 65 x 73, unloading 41 x 17, default");
    TSilo silo;
    silo.resize(70, 80);
    silo.setCover(20);
    silo.setColor(clBlack);
    gallery.Add("storage", silo);
    silo.setColor(clMaroon);
    gallery.Add("storage, too warm", silo);
    silo.setColor(clBlack);
    silo.resize(65, 73);
    gallery.Add("information", silo);
    silo.resize(41, 17);
    silo.setCover(0);
    gallery.Add("unloading", silo);
    silo.resize(100, 100);
    silo.setCover(10);
    gallery.Add("default", silo);
    silo.setColor(clWhite);
    gallery.Add("white", silo);
    silo.setColor(clBlack);
    silo.resize(2, 40);
    gallery.Add("2 wide", silo);
    silo.resize(0, 40);
    gallery.Add("0 wide", silo);
}

void Pipes(Gallery& gallery) {
    gallery.Section("TPipe - idle (grey) and with grain flowing (Colored)");
    TPipe pipe;
    auto both = [&](const QString& label) {
        pipe.setColored(false);
        gallery.Add(label, pipe);
        pipe.setColored(true);
        gallery.Add(label + " flowing", pipe);
    };
    pipe.resize(26, 8);
    pipe.setDiameter(8);
    pipe.setColor(clNavy);
    both("Pipe1");
    pipe.setOpientation(TPipeOrientation::poVertical);
    pipe.resize(10, 112);
    pipe.setDiameter(10);
    both("Pipe2");
    pipe.resize(10, 82);
    pipe.setColor(kDarkGreen);
    both("Pipe3");
    gallery.Row();
    pipe.setOpientation(TPipeOrientation::poHorizontal);
    pipe.resize(60, 30);
    pipe.setDiameter(5);
    pipe.setColor(clGreen);
    both("odd diameter 5");
    pipe.setDiameter(24);
    both("diameter 24");
    pipe.setDiameter(0);
    both("diameter 0");
}

void Elbows(Gallery& gallery) {
    gallery.Section("TPipeTurn - PipeTurn1 (16 x 16) in every corner, and 40 x 40");
    TPipeTurn turn;
    turn.setColor(clNavy);
    const TTurnOrientation corners[] = {TTurnOrientation::poLeftUp, TTurnOrientation::poRightUp,
                                        TTurnOrientation::poLeftDown,
                                        TTurnOrientation::poRightDown};
    const char* names[] = {"poLeftUp", "poRightUp", "poLeftDown", "poRightDown"};
    for (int big = 0; big < 2; ++big) {
        turn.setDiameter(big ? 16 : 6);
        turn.setRadiusTurn(big ? 24 : 10);
        for (int i = 0; i < 4; ++i) {
            turn.setOrientation(corners[i]);
            turn.setColored(i % 2 == 1);
            gallery.Add(QString::fromLatin1(names[i]) + (i % 2 ? " flowing" : ""), turn);
        }
        gallery.Row();
    }
}

void Boards(Gallery& gallery) {
    gallery.Section("TLEDTablo - console boards (153 x 41, 6 cells, one decimal)");
    TLEDTablo board;
    SetUpAsConsoleBoard(board);
    board.setDecimalSeparator('.');
    const long double values[] = {0.0L, 12345.6L, -5.0L, 4500.0L, 123456.7L, 1234567.8L};
    const char* labels[] = {"0", "12345.6", "-5", "4500", "123456.7 (cut)", "1234567.8 (cut)"};
    for (int i = 0; i < 6; ++i) {
        board.setValue(values[i]);
        gallery.Add(QString::fromLatin1(labels[i]), board);
    }
    gallery.Row();
    board.setValue(12.5L);
    board.setAlignment(TLEDAlign::laCenterJustify);
    gallery.Add("12.5 centred", board);
    board.setAlignment(TLEDAlign::laLeftJustify);
    gallery.Add("12.5 left", board);
    board.setDecimalSeparator(',');
    gallery.Add("12,5 comma", board);

    gallery.Section("TLEDTablo - default board (80 x 34, 5 integer cells) and sizes with no room");
    TLEDTablo plain;
    plain.setDecimalSeparator('.');
    gallery.Add("default, 0", plain);
    plain.setValue(2.5L);
    gallery.Add("2.5 -> 2", plain);
    plain.setValue(3.5L);
    gallery.Add("3.5 -> 4", plain);
    plain.setValue(-1234.0L);
    gallery.Add("-1234", plain);
    plain.setNumChars(0);
    gallery.Add("NumChars 0", plain);
    plain.setNumChars(5);
    plain.resize(40, 34);
    plain.setShift(4);
    gallery.Add("cell <= Shift", plain);
}

void Titles(Gallery& gallery) {
    gallery.Section("TTitle - Title1 (211 x 297): idle, and during a pass up and down");
    TTitle title;
    title.resize(211, 297);
    title.setBevelOuter(TBevelCut::bvLowered);
    title.setBevelWidth(2);
    title.setFont(platform::FontSpec{"Times New Roman", 19, false, 0xA00000});
    title.setItems({"Демонстрационная", "система управления", "зерновым терминалом", "", "",
                    "Щелчок по механизму", "открывает его", "панель управления", "", "",
                    "Маршрут запускается", "из списка маршрутов"});
    gallery.Add("idle", title);
    title.Scroll(true);
    for (int i = 0; i < 150; ++i) title.ScrollTimerTick();
    gallery.Add("up, 150 ticks", title);
    title.Scroll(false);
    title.setScrollDown(true);
    title.setAlignment(TAlignment::paLeft);
    title.Scroll(true);
    for (int i = 0; i < 120; ++i) title.ScrollTimerTick();
    gallery.Add("down, left, 120 ticks", title);
    title.Scroll(false);
}

}  // namespace

void AddSecondSymbolSet(Gallery& gallery) {
    Silos(gallery);
    Pipes(gallery);
    Elbows(gallery);
    Boards(gallery);
    Titles(gallery);
}
