// tamizo-bench: drives the real main window on the offscreen platform and answers its boxes
// through the seam. Prints one JSON object per case and per line, nothing else on stdout.
//   tamizo-bench            the default cases
//   tamizo-bench CASE...    the named cases
// Each case runs in a child process of its own, so its peak memory is its own.

#include "CandidateJudge.h"
#include "DirListBox.h"
#include "Events.h"
#include "Form1.h"
#include "Form2.h"
#include "ListBox.h"
#include "Literal.h"
#include "MessageBox.h"
#include "PrimeStore.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
double secondsSince(Clock::time_point t) {
    return std::chrono::duration<double>(Clock::now() - t).count();
}

// CPU time of this thread: a gap measured in it leaves out time the system gave to others.
double threadCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

double peakRssMb() {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    return -1;
}

double median(std::vector<double> v) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t m = v.size() / 2;
    return v.size() % 2 ? v[m] : (v[m - 1] + v[m]) / 2;
}

struct Result {
    explicit Result(std::string n) : name(std::move(n)) {}
    std::string name;
    std::vector<double> runs;
    long long items = -1;
    long long checkpoints = -1;
    double maxGapMs = -1;
    double maxGapCpuMs = -1;
    double maxLatencyMs = -1;
    std::optional<double> ratio;
    std::string goal;
    bool meets = false;
    double paintsPerSecond = -1; // repaints of the list during the searches
    double bytesPerItem = -1;    // the list store's memory
};

void print(const Result& r) {
    std::printf("{\"case\":\"%s\",\"median_s\":%.9g,\"runs\":%zu,\"items\":%lld,"
                "\"checkpoints\":%lld,\"max_yield_gap_ms\":%.3f,\"peak_rss_mb\":%.1f,",
                r.name.c_str(), median(r.runs), r.runs.size(), r.items, r.checkpoints, r.maxGapMs,
                peakRssMb());
    if (r.maxGapCpuMs >= 0)
        std::printf("\"max_yield_gap_cpu_ms\":%.3f,", r.maxGapCpuMs);
    if (r.maxLatencyMs >= 0)
        std::printf("\"max_latency_ms\":%.3f,", r.maxLatencyMs);
    if (r.paintsPerSecond >= 0)
        std::printf("\"paints_per_s\":%.1f,", r.paintsPerSecond);
    if (r.bytesPerItem >= 0)
        std::printf("\"bytes_per_item\":%.3f,", r.bytesPerItem);
    if (r.ratio)
        std::printf("\"ratio\":%.1f,", *r.ratio);
    else
        std::printf("\"ratio\":null,");
    std::printf("\"goal\":\"%s\",\"meets_goal\":%s}\n", r.goal.c_str(), r.meets ? "true" : "false");
    std::fflush(stdout);
}

// One search on the real window, from the click to the summary box.
struct SearchRun {
    double paintsPerSecond = 0;
    double seconds = 0;
    long long items = 0;
    long long checkpoints = 0;
    double maxGapMs = 0;
    double maxGapCpuMs = 0;
};

// One search's figures into the case's result: its time as a run, the largest gaps seen.
void addRun(Result& r, const SearchRun& s) {
    r.runs.push_back(s.seconds);
    r.items = s.items;
    r.checkpoints = s.checkpoints;
    r.maxGapMs = std::max(r.maxGapMs, s.maxGapMs);
    r.maxGapCpuMs = std::max(r.maxGapCpuMs, s.maxGapCpuMs);
    r.paintsPerSecond = s.paintsPerSecond;
}

class Driver {
  public:
    Form1 form;
    std::function<void(long long yield)> atYield;
    // Also measure gaps in this thread's CPU time (a system call at every yield, so it slows
    // the search down a little; only for the cases about gaps).
    bool measureCpu = false;

    Driver() {
        MessageBox::setTesting(true);
        MessageBox::setHandler([this](const MessageBox::Shown& box) {
            if (box.style == 36)
                return int(MessageBox::Yes);
            if (box.title == Form1::kSummaryTitle && m_depth == 1)
                m_end = Clock::now();
            gapMark();
            return int(MessageBox::Ok);
        });
        events::setYieldHook(
            [this] {
                gapMark();
                ++m_yields;
                if (atYield)
                    atYield(m_yields - 1);
            },
            [this] {
                m_last = Clock::now();
                if (measureCpu)
                    m_lastCpu = threadCpuSeconds();
            });
        form.show();
        form.lista->viewport()->installEventFilter(&m_paints);
        QApplication::processEvents();
    }

    SearchRun search(const QString& limit) {
        form.Text1->setText(limit);
        m_yields = 0;
        m_maxGap = 0;
        m_maxGapCpu = 0;
        m_depth = 1;
        m_paints.count = 0;
        const auto t0 = Clock::now();
        m_last = t0;
        m_lastCpu = threadCpuSeconds();
        form.Command1->click();
        m_depth = 0;
        SearchRun r;
        r.seconds = std::chrono::duration<double>(m_end - t0).count();
        r.items = form.lista->ListCount();
        r.checkpoints = m_yields;
        r.maxGapMs = m_maxGap * 1000;
        r.maxGapCpuMs = measureCpu ? m_maxGapCpu * 1000 : -1;
        // A rate means something only over a search long enough to be paced.
        r.paintsPerSecond = r.seconds >= 0.5 ? m_paints.count / r.seconds : -1;
        return r;
    }

    // A nested search started from inside a yield; its own summary does not end the timing.
    void nested(const QString& limit) {
        const QString outer = form.Text1->text();
        form.Text1->setText(limit);
        ++m_depth;
        form.Command1->click();
        --m_depth;
        form.Text1->setText(outer);
    }

  private:
    void gapMark() {
        const auto now = Clock::now();
        m_maxGap = std::max(m_maxGap, std::chrono::duration<double>(now - m_last).count());
        m_last = now;
        if (!measureCpu)
            return;
        const double cpu = threadCpuSeconds();
        m_maxGapCpu = std::max(m_maxGapCpu, cpu - m_lastCpu);
        m_lastCpu = cpu;
    }

    struct PaintCounter : QObject {
        long long count = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            count += e->type() == QEvent::Paint;
            return false;
        }
    } m_paints;
    Clock::time_point m_last, m_end;
    long long m_yields = 0;
    double m_maxGap = 0;
    double m_lastCpu = 0, m_maxGapCpu = 0;
    int m_depth = 0;
};

Result searchCase(const std::string& name, const QString& limit, double goalSeconds,
                  double goalRssMb, int runs) {
    Driver d;
    Result r(name);
    for (int i = 0; i < runs; ++i) {
        const SearchRun s = d.search(limit);
        addRun(r, s);
        if (s.seconds > 10)
            break;
    }
    char goal[128];
    if (goalRssMb > 0)
        std::snprintf(goal, sizeof goal, "<= %g s, peak RSS <= %g MB", goalSeconds, goalRssMb);
    else
        std::snprintf(goal, sizeof goal, "<= %g s", goalSeconds);
    r.goal = goal;
    r.meets = median(r.runs) <= goalSeconds && (goalRssMb <= 0 || peakRssMb() <= goalRssMb);
    return r;
}

Result literalVsProgram() {
    Driver d;
    Result r("literal-vs-program-50000");
    for (int i = 0; i < 5; ++i) {
        const SearchRun s = d.search("50000");
        addRun(r, s);
    }
    ListBox lit;
    std::vector<double> literal;
    for (int i = 0; i < 3; ++i) {
        const auto t0 = Clock::now();
        literalSearch(lit, 50000);
        literal.push_back(secondsSince(t0));
    }
    if (lit.values() != d.form.lista->values())
        std::fprintf(stderr, "literal and program lists differ\n");
    r.ratio = median(literal) / median(r.runs);
    r.goal = "program >= 200x faster than the literal search";
    r.meets = *r.ratio >= 200 && lit.values() == d.form.lista->values();
    return r;
}

Result nestedGap() {
    Driver d;
    d.measureCpu = true;
    Result r("nested-gap");
    // A nested search leaves a list that is not the primes (it stops early), and the outer one
    // goes on over it; then another nests a larger search. Gaps are measured across all of it.
    d.atYield = [&](long long y) {
        if (y == 2000)
            d.nested("30");
        else if (y == 30000)
            d.nested("2000000");
    };
    for (int i = 0; i < 3; ++i) {
        const SearchRun s = d.search("10000000");
        addRun(r, s);
    }
    r.goal = "longest gap between yields <= 5 ms";
    r.meets = r.maxGapMs <= 5;
    return r;
}

Result stopLatency() {
    Driver d;
    Result r("stop-latency");
    std::vector<double> latencies;
    for (int i = 0; i < 5; ++i) {
        Clock::time_point clicked;
        std::thread clicker([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300 + 37 * i));
            clicked = Clock::now();
            QMetaObject::invokeMethod(d.form.Command2, "click", Qt::QueuedConnection);
        });
        Clock::time_point summary;
        MessageBox::setHandler([&](const MessageBox::Shown& box) {
            if (box.style == 64)
                summary = Clock::now();
            return box.style == 36 ? int(MessageBox::Yes) : int(MessageBox::Ok);
        });
        d.form.Text1->setText("4294967295");
        d.form.Command1->click();
        clicker.join();
        latencies.push_back(std::chrono::duration<double>(summary - clicked).count());
        r.items = d.form.lista->ListCount();
    }
    r.runs = latencies;
    r.maxLatencyMs = *std::max_element(latencies.begin(), latencies.end()) * 1000;
    r.goal = "Detener to summary box <= 20 ms (max of runs)";
    r.meets = r.maxLatencyMs <= 20;
    return r;
}

Result checkpointOverhead() {
    Driver d;
    d.search("10000000");
    events::setYieldHook(nullptr); // the checkpoint alone, without the driver's bookkeeping
    Result r("checkpoint-overhead");
    r.items = d.form.lista->ListCount();
    CandidateJudge judge(*d.form.lista);
    std::vector<double> each;
    each.reserve(200000);
    quint64 n = 99;
    for (int i = 0; i < 200000; ++i, n += 100) {
        const auto t0 = Clock::now();
        d.form.checkpoint(n % 10000000, judge);
        each.push_back(secondsSince(t0));
    }
    r.checkpoints = static_cast<long long>(each.size());
    const double med = median(each);
    r.runs = {med};
    r.goal = "median checkpoint <= 5 us";
    r.meets = med <= 5e-6;
    return r;
}

// Saving the list of the search to 1e8 through the real dialog, from "Guardar" to the success box.
Result save1e8() {
    Driver d;
    d.search("100000000");
    Result r("save-1e8");
    r.items = d.form.lista->ListCount();
    QTemporaryDir dir;
    bool ok = true;
    for (int i = 0; i < 3 && ok; ++i) {
        Form2 dialog(*d.form.lista);
        dialog.Dir1->setPath(dir.path());
        dialog.Text1->setText(QStringLiteral("primos%1").arg(i));
        Clock::time_point saved;
        MessageBox::setHandler([&](const MessageBox::Shown& box) {
            saved = Clock::now();
            ok = box.prompt == Form2::kSaved;
            return int(MessageBox::Ok);
        });
        const auto t0 = Clock::now();
        dialog.Command1_Click();
        r.runs.push_back(std::chrono::duration<double>(saved - t0).count());
        ok = ok && QFile(dir.filePath(QStringLiteral("primos%1.txt").arg(i))).size() > 50000000;
    }
    r.goal = "saving the 1e8 list <= 1.5 s";
    r.meets = ok && median(r.runs) <= 1.5;
    return r;
}

// The list store alone: the search's list up to the limit (1, 1 and the odd primes) appended to
// it. The time is the appending only; the primes come from a sieve of segments beforehand.
Result storeCase(const std::string& name, quint32 limit, long long expectedItems) {
    Result r(name);
    PrimeStore store;
    bool ok = store.append(1) && store.append(1);
    double seconds = 0;
    std::vector<quint32> base; // odd primes below 2^16: enough to cross out anything below 2^32
    std::vector<bool> crossed(65536);
    for (quint32 p = 3; p < 65536; p += 2)
        if (!crossed[p]) {
            base.push_back(p);
            for (quint32 m = p * p; m < 65536; m += 2 * p)
                crossed[m] = true;
        }
    constexpr quint64 kOdds = 1 << 20; // odd numbers per segment
    std::vector<quint8> composite(kOdds);
    std::vector<quint32> found;
    for (quint64 lo = 3; ok && lo <= limit; lo += 2 * kOdds) {
        const quint64 hi = std::min<quint64>(quint64(limit) + 1, lo + 2 * kOdds);
        std::fill(composite.begin(), composite.end(), 0);
        for (quint64 p : base) {
            quint64 m = std::max(p * p, (lo + p - 1) / p * p);
            for (m += m % 2 ? 0 : p; m < hi; m += 2 * p)
                composite[(m - lo) / 2] = 1;
        }
        found.clear();
        for (quint64 n = lo; n < hi; n += 2)
            if (!composite[(n - lo) / 2])
                found.push_back(static_cast<quint32>(n));
        const auto t0 = Clock::now();
        for (size_t i = 0; ok && i < found.size(); ++i)
            ok = store.append(found[i]);
        seconds += secondsSince(t0);
    }
    r.runs = {seconds};
    r.items = store.size();
    r.bytesPerItem = double(store.memoryBytes()) / double(store.size());
    r.goal = "store <= 1.1 bytes an item";
    r.meets = ok && r.items == expectedItems && r.bytesPerItem <= 1.1;
    return r;
}

Result startup(const char* self) {
    Result r("startup");
    for (int i = 0; i < 5; ++i) {
        const std::string cmd = std::string("'") + self + "' --startup-child";
        const auto t0 = Clock::now();
        FILE* p = popen(cmd.c_str(), "r");
        if (!p)
            break;
        char line[64] = {};
        if (!std::fgets(line, sizeof line, p))
            line[0] = 0;
        const double t = secondsSince(t0);
        pclose(p);
        if (std::strncmp(line, "painted", 7) == 0)
            r.runs.push_back(t);
    }
    r.goal = "start to first painted frame <= 300 ms";
    r.meets = !r.runs.empty() && median(r.runs) <= 0.3;
    return r;
}

int startupChild(int argc, char** argv) {
    QApplication app(argc, argv);
    Form1 form;
    struct PaintWatch : QObject {
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Paint)
                QTimer::singleShot(0, [] {
                    std::puts("painted");
                    std::fflush(stdout);
                    std::_Exit(0);
                });
            return false;
        }
    } watch;
    form.surface()->installEventFilter(&watch);
    form.show();
    return app.exec();
}

const std::vector<std::string> kDefaultCases = {
    "search-3000", "search-1e7",   "search-1e8",          "literal-vs-program-50000",
    "nested-gap",  "stop-latency", "checkpoint-overhead", "save-1e8",
    "store-1e8",   "startup"};

int runCase(const std::string& name, const char* self) {
    std::optional<Result> r;
    if (name == "search-3000")
        r = searchCase(name, "3000", 0.05, 0, 5);
    else if (name == "search-1e7")
        r = searchCase(name, "10000000", 1.5, 0, 3);
    else if (name == "search-1e8")
        r = searchCase(name, "100000000", 6, 120, 3);
    else if (name == "search-1e9")
        r = searchCase(name, "1000000000", 60, 400, 1);
    else if (name == "literal-vs-program-50000")
        r = literalVsProgram();
    else if (name == "nested-gap")
        r = nestedGap();
    else if (name == "stop-latency")
        r = stopLatency();
    else if (name == "checkpoint-overhead")
        r = checkpointOverhead();
    else if (name == "save-1e8")
        r = save1e8();
    else if (name == "store-1e8")
        r = storeCase(name, 100000000, 5761456);
    else if (name == "store-max")
        r = storeCase(name, 4294967295u, 203280222);
    else if (name == "startup")
        r = startup(self);
    if (!r) {
        std::fprintf(stderr, "unknown case: %s\n", name.c_str());
        return 2;
    }
    print(*r);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (argc >= 2 && std::strcmp(argv[1], "--startup-child") == 0)
        return startupChild(argc, argv);
    if (argc >= 3 && std::strcmp(argv[1], "--child") == 0) {
        QApplication app(argc, argv);
        return runCase(argv[2], argv[0]);
    }
    std::vector<std::string> cases(argv + 1, argv + argc);
    if (cases.empty())
        cases = kDefaultCases;
    int status = 0;
    for (const auto& c : cases) {
        const std::string cmd = std::string("'") + argv[0] + "' --child '" + c + "'";
        FILE* p = popen(cmd.c_str(), "r");
        if (!p)
            return 1;
        char buf[4096];
        while (std::fgets(buf, sizeof buf, p))
            std::fputs(buf, stdout);
        std::fflush(stdout);
        if (pclose(p) != 0)
            status = 1;
    }
    return status;
}
