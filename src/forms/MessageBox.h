#pragma once
// The modal message box, told by its style number: 0 OK, 16 critical icon + OK, 36 question
// icon + Yes/No (Yes the default), 48 exclamation icon + OK, 64 information icon + OK. It
// answers 1 for OK, 6 for Yes and 7 for No. A box given no title bears the program's title; an
// explicit empty title shows an empty title bar. The program's title and the buttons' captions
// are the program's to give (setProgramWords); until it does, a box bears the application's
// name and the toolkit's own captions. The text keeps its lines as given unless one is
// wider than five eighths of the screen's available width; such a line is broken after a blank
// or a "/" (a line that is a path only after a "/", at its folders), and a piece still too wide
// is shortened in its middle.
//
// Test seam: scripted answers (setNextAnswer) or a handler that runs while the box "is open"
// replace the real box, so no test ever blocks. It does not decide what any window says, nor
// what the program is called.

#include <QString>

class QDialog;
class QFontMetrics;
class QScreen;
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class MessageBox {
  public:
    enum Answer { Ok = 1, Yes = 6, No = 7 };
    struct Shown {
        QString prompt;
        int style = 0;
        QString title; // as shown in the title bar
    };
    using Handler = std::function<int(const Shown&)>;

    // What the program puts into every box: its title, for a box given none, and the captions
    // of the buttons. An empty word leaves the default in place.
    struct ProgramWords {
        QString title;
        QString ok;
        QString yes;
        QString no;
    };
    static void setProgramWords(ProgramWords words);
    static const ProgramWords& programWords();

    static int MsgBox(const QString& prompt, int style = 0,
                      const std::optional<QString>& title = std::nullopt);

    // --- seam ---
    // While testing is on, every box is answered by the seam, never shown: first from the
    // queued answers, then by the handler, else with the box's default button.
    static void setTesting(bool on);
    static void setNextAnswer(int answer);
    static void setHandler(Handler handler);
    static void reset(); // clears answers, handler and the record of shown boxes
    static const std::vector<Shown>& shown();
    static int unscriptedCount(); // boxes answered by default because nothing was scripted

    // Closes every real box that is open (their MsgBox calls return the default answer).
    static void closeOpenBoxes();

    // The real box for `box`, laid out for the screen it opens on but not shown: what MsgBox
    // runs when no seam answers. Its text label is named "prompt".
    static std::unique_ptr<QDialog> build(const Shown& box);
    // `text` as a box lays it out for lines of at most `maxWidth` pixels in `metrics`.
    static QString wrapText(const QString& text, const QFontMetrics& metrics, int maxWidth);
    // The widest a line of a box's text may be on `screen`: five eighths of its available width.
    static int lineWidthLimit(const QScreen& screen);

  private:
    static int defaultAnswer(int style);
};
