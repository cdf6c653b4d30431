#pragma once
// Accessibility notices: what the controls tell a screen reader (through Qt's bridge to the
// desktop's accessibility bus) when something changes that it can't see for itself, and a pacer
// that keeps a stream of such notices down to a few a second. It decides neither what a control
// exposes nor when a change happens.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>

class QAccessibleEvent;
class QAccessibleInterface;

namespace a11y {

// Whether anybody hears the notices: a screen reader through Qt's bridge, or a test's recorder.
bool listening();

// Tells when listening() changes, so that a control can leave its hot paths alone while nobody
// listens.
class ListeningNotifier : public QObject {
    Q_OBJECT
  public:
    static ListeningNotifier& instance();
  signals:
    void changed(bool listening);
};
// Hands the notice to Qt's bridge, or to the recorder while one is set.
void send(QAccessibleEvent& event);

// Seam: while set, every notice goes to `recorder` instead of Qt's bridge, whether or not the
// platform has one (the offscreen platform has none). Empty to go back to the bridge.
using Recorder = std::function<void(QAccessibleEvent&)>;
void setRecorderForTesting(Recorder recorder);

// Qt keeps the first interface it makes for an object. One made before the object got the
// interface it is meant to have (while it was being built, say) is thrown away here, so the
// next query makes the right one; `isRight` tells them apart.
void dropStaleInterface(QObject* object, bool (*isRight)(QAccessibleInterface*));

} // namespace a11y

// Paces one kind of notice: the first after a quiet spell goes out at once, later ones at most
// every kIntervalMs, and a change that came in between is sent when the interval is over, so
// the last one is never lost. `send` builds the notice from the state of that moment.
class NoticePacer {
  public:
    static constexpr int kIntervalMs = 250; // four a second

    explicit NoticePacer(std::function<void()> send);
    void post();

  private:
    void fire();

    std::function<void()> m_send;
    QElapsedTimer m_sinceLast;
    QTimer m_timer;
};
