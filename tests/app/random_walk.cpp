#include "app/random_walk.h"

#include <cxxabi.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <typeinfo>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QKeyEvent>
#include <QPainter>
#include <QRegularExpression>

#include "app/ad.h"
#include "app/photo_intake.h"
#include "app/rotate_me.h"
#include "app/top.h"
#include "app/vimora_app_delegate.h"
#include "compositor/back_photo.h"
#include "support/fake_picker.h"
#include "editor/cut_image.h"
#include "imaging/codec.h"
#include "picker/thumbnail_cache.h"
#include "platform/app_home.h"
#include "platform/log.h"
#include "platform/photo_picker.h"
#include "platform/resources.h"
#include "store/job_store.h"
#include "store/working_files.h"
#include "support/screen_driver.h"
#include "support/temp_home.h"
#include "ui/alert_view.h"
#include "ui/button.h"
#include "ui/device_profile.h"
#include "ui/headless_host.h"
#include "ui/long_press_recognizer.h"
#include "ui/pan_recognizer.h"
#include "ui/pinch_recognizer.h"
#include "ui/slider.h"
#include "ui/table_view_cell.h"
#include "ui/tap_recognizer.h"

namespace vimora::test {

QString profileName(DeviceProfile profile)
{
    switch (profile) {
    case DeviceProfile::Tablet:
        return QStringLiteral("tablet");
    case DeviceProfile::Phone568:
        return QStringLiteral("phone-568");
    case DeviceProfile::Phone480:
        return QStringLiteral("phone-480");
    }
    return {};
}

namespace {

enum class Screen { Home, Editor, Compositor, Picker };

QString screenName(Screen s)
{
    switch (s) {
    case Screen::Home:
        return QStringLiteral("home");
    case Screen::Editor:
        return QStringLiteral("editor");
    case Screen::Compositor:
        return QStringLiteral("compositor");
    case Screen::Picker:
        return QStringLiteral("picker");
    }
    return {};
}

// Controls only one screen builds, by title. Titles two screens share ("Save", "Text", "OK")
// are left out: they tell nothing.
const QStringList kHomeOnly{QStringLiteral("photo"), QStringLiteral("descrip"), QStringLiteral("pick"),
                            QStringLiteral("load"),  QStringLiteral("BW"),      QStringLiteral("ad"),
                            QStringLiteral("back"),  QStringLiteral("TYPE1"),   QStringLiteral("TYPE2")};
const QStringList kEditorOnly{QStringLiteral("Color"), QStringLiteral("ChangeFoto"), QStringLiteral("Home"),
                              QStringLiteral("Write"), QStringLiteral("Names"),      QStringLiteral("Frame")};
const QStringList kCompositorOnly{QStringLiteral("Tip"),    QStringLiteral("Filter"),        QStringLiteral("+Word"),
                                  QStringLiteral("Layers"), QStringLiteral("More"),          QStringLiteral("Edit"),
                                  QStringLiteral("Delete"), QStringLiteral("Save To Album")};

// The text overlay's bar, which the editor and the compositor open but the home screen never.
const QStringList kTextOverlay{QStringLiteral("Font"), QStringLiteral("Words"), QStringLiteral("Tips")};

// What the walk back home presses, most wanted first. Alert answers that leave or keep
// things as they are come before those that change or delete something.
const QStringList kWayHome{QStringLiteral("Home"),   QStringLiteral("Exit"),  QStringLiteral("Back"),
                           QStringLiteral("close"),  QStringLiteral("Close"), QStringLiteral("OK"),
                           QStringLiteral("Done"),   QStringLiteral("Cancel"), QStringLiteral("cancel"),
                           QStringLiteral("resultTool"), QStringLiteral("Next"), QStringLiteral("show")};
const QStringList kAlertAnswers{QStringLiteral("Leave"), QStringLiteral("OK"), QStringLiteral("Cancel"),
                                QStringLiteral("cancel"), QStringLiteral("No")};

constexpr int kMovesHome = 24;
// How much time passes after each action: long enough for a deferred job (half a second) to
// start, run and come back.
constexpr int kSettleRounds = 4;
constexpr double kSettleSeconds = 0.35;
// A full decode of every working file this often; a header read after every step.
constexpr int kFullDecodeEvery = 25;

QString className(const ui::View &view)
{
    const char *mangled = typeid(view).name();
    int status = 0;
    char *demangled = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    QString name = QString::fromLatin1(status == 0 && demangled ? demangled : mangled);
    std::free(demangled);
    return name.section(QStringLiteral("::"), -1);
}

bool isGeneratedName(const QString &title)
{
    static const QRegularExpression generated(QStringLiteral("^[DBR]\\d{4,5}(\\.jpg)?$"));
    return generated.match(title).hasMatch();
}

QString buttonTitle(const ui::View &view)
{
    if (auto *b = dynamic_cast<const ui::Button *>(&view))
        return b->title();
    return {};
}

// The view as a step names it, without the ordinal.
QString describe(const ui::View &view)
{
    if (auto *b = dynamic_cast<const ui::Button *>(&view)) {
        const QString title = b->title();
        if (!title.isEmpty())
            return isGeneratedName(title) ? QStringLiteral("\"saved picture\"") : QLatin1Char('"') + title + QLatin1Char('"');
    }
    if (auto *cell = dynamic_cast<const ui::TableViewCell *>(&view)) {
        const QString text = const_cast<ui::TableViewCell *>(cell)->textLabel().text();
        if (!text.isEmpty())
            return QStringLiteral("cell\"%1\"").arg(text.left(24));
    }
    QString name = className(view);
    if (view.tag() != 0)
        name += QLatin1Char('#') + QString::number(view.tag());
    return name;
}

bool hasRecognizer(const ui::View &view, bool continuous)
{
    for (const auto &r : view.gestureRecognizers()) {
        if (continuous && (dynamic_cast<ui::PanRecognizer *>(r.get()) || dynamic_cast<ui::PinchRecognizer *>(r.get()) ||
                           dynamic_cast<ui::LongPressRecognizer *>(r.get())))
            return true;
        if (!continuous && dynamic_cast<ui::TapRecognizer *>(r.get()))
            return true;
    }
    return false;
}

// The photo view, the pieces, the crop rectangle and its handles, text layers, the preview:
// views the screens handle touches on without a recogniser of their own.
bool isTouchedByTag(int tag)
{
    return tag == 555 || tag == 666 || tag == 777 || (tag >= 510 && tag <= 514) || tag == 4321 || tag >= 1000;
}

Picture testPhoto(int w, int h, int seed)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    QLinearGradient g(0, 0, w, h);
    g.setColorAt(0, QColor::fromHsv((seed * 53) % 360, 200, 220));
    g.setColorAt(1, QColor::fromHsv((seed * 97 + 120) % 360, 160, 90));
    p.fillRect(image.rect(), g);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(w * 0.4, h * 0.45), w * 0.18, h * 0.2);
    p.end();
    return Picture(image);
}

} // namespace

struct RandomWalk::Session
{
    explicit Session(DeviceProfile profile)
    {
        Resources::clearMissingNames();
        // The mail program is a stand-in that declines, so a message becomes a draft file.
        const QString bin = home.path() + QStringLiteral("/bin");
        QDir().mkpath(bin);
        QFile mail(bin + QStringLiteral("/xdg-email"));
        if (mail.open(QIODevice::WriteOnly)) {
            mail.write("#!/bin/sh\nexit 3\n");
            mail.close();
            mail.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        m_path = qgetenv("PATH");
        qputenv("PATH", bin.toLocal8Bit() + ':' + m_path);
        setLogSink([this](const QString &line) { log << line; });
        PhotoLibrary::setFolder(home.path() + QStringLiteral("/Photos"));
        // Two saved pictures, so "Saved" leads somewhere from the first step.
        QDir().mkpath(AppHome::drawImgsDir());
        writeFileAtomically(AppHome::drawImgsDir() + QStringLiteral("/D4321.jpg"), encodeJpeg(testPhoto(400, 300, 1), 0.9));
        writeFileAtomically(AppHome::drawImgsDir() + QStringLiteral("/D4322.jpg"), encodeJpeg(testPhoto(300, 420, 2), 0.9));

        Device::setProfile(profile);
        Device::setOrientation(InterfaceOrientation::Portrait);
        Device::setCameraAvailable(true);
        host = std::make_unique<ui::HeadlessHost>(Device::screenSize());
        picker = FakePicker::install();
        picker->afterAnswer = [this] {
            root().intake().waitForIntake();
            host->runPending();
        };
        delegate = std::make_unique<VimoraAppDelegate>(*host);
        delegate->applicationDidFinishLaunchingWithOptions();
        // Addresses are only noted, never opened in a browser.
        root().ad().setUrlOpener([this](const QUrl &url) {
            log << QStringLiteral("walk: opened %1").arg(url.toString());
            return true;
        });
        host->runPending();
    }
    ~Session()
    {
        // The Saved list's thumbnails answer through the host's clock: done before it goes.
        picker::ThumbnailCache::shared().cancelPending();
        picker::ThumbnailCache::shared().waitForDone();
        delegate.reset();
        host.reset();
        // The kept job is written into this walk's home: done before the home goes.
        JobStore::shared().forget();
        WorkingFiles::shared().forget();
        setLogSink(nullptr);
        PhotoPicker::setCurrent(nullptr);
        Device::setCameraAvailable(std::nullopt);
        Device::setProfile(DeviceProfile::Tablet);
        Device::setOrientation(InterfaceOrientation::Portrait);
        qputenv("PATH", m_path);
    }

    RotateMe &root() { return *delegate->rotateLa(); }

    // --- Time and background work ---

    void settle()
    {
        for (int i = 0; i < kSettleRounds; ++i) {
            root().draw().waitForEffects();
            root().backPhoto().effects().waitForIdle([this] { host->runPending(); });
            root().draw().saving().albumWriter().waitForWrites();
            root().draw().saving().mail().waitForHandOvers();
            root().draw().saving().waitForKeptCopies();
            root().draw().saving().waitForOriginalRender();
            root().intake().waitForIntake();
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
            host->runPending();
            host->advance(kSettleSeconds);
        }
    }

    // --- What is on screen ---

    Screen screen()
    {
        // The intake: the picker, then the question over a damaged photo.
        if ((root().intake().isPicking() && picker->pending) || root().intake().damagedPhotoNotice())
            return Screen::Picker;
        if (!root().draw().views().cutImgView->isHidden())
            return Screen::Editor;
        if (!root().backPhoto().views().backImgView->isHidden())
            return Screen::Compositor;
        return Screen::Home;
    }

    bool atHome()
    {
        return screen() == Screen::Home && !host->hasModal() && host->overlays().count() == 0 &&
               !root().top().savedBtn()->isHidden();
    }

    QRectF screenRect() const { return QRectF(QPointF(0, 0), host->screenSize()); }

    QPointF centreOnScreen(const ui::View &view) const { return view.convertRectTo(view.bounds(), nullptr).center(); }

    // A touch at the view's centre reaches it (or something inside it).
    bool reachable(ui::View &view)
    {
        const QPointF c = centreOnScreen(view);
        if (!screenRect().contains(c))
            return false;
        ui::View *hit = host->hitTest(c);
        return hit && (hit == &view || hit->isDescendantOf(&view));
    }

    struct Shown
    {
        std::vector<ui::View *> taps;     // controls, cells, tap targets
        std::vector<ui::View *> gestures; // drag, pinch, hold targets
        std::vector<ui::Slider *> sliders;
        std::vector<ui::View *> visibleControls; // drawn on screen, reachable or not
    };

    void collect(ui::View &view, Shown &out)
    {
        if (view.isHidden() || view.alpha() < 0.01)
            return;
        auto *control = dynamic_cast<ui::Control *>(&view);
        if (control && view.convertRectTo(view.bounds(), nullptr).intersects(screenRect()))
            out.visibleControls.push_back(&view);
        if (!view.isUserInteractionEnabled())
            return;
        if (auto *slider = dynamic_cast<ui::Slider *>(&view)) {
            if (slider->isEnabled() && reachable(view))
                out.sliders.push_back(slider);
        } else if ((control && control->isEnabled()) || dynamic_cast<ui::TableViewCell *>(&view) || hasRecognizer(view, false) ||
                   view.acceptsTextInput()) {
            if (reachable(view))
                out.taps.push_back(&view);
        }
        if ((hasRecognizer(view, true) || isTouchedByTag(view.tag())) && !control && reachable(view))
            out.gestures.push_back(&view);
        for (const ui::ViewPtr &sub : view.subviews())
            collect(*sub, out);
    }

    Shown shown()
    {
        Shown out;
        collect(host->window(), out);
        return out;
    }

    // The step's name of a view: its description and, when several share it, an ordinal.
    template <typename T>
    QString nameOf(ui::View *view, const std::vector<T *> &among)
    {
        const QString base = describe(*view);
        int ordinal = 0;
        for (T *v : among) {
            if (v == view)
                break;
            if (describe(*v) == base)
                ++ordinal;
        }
        return ordinal == 0 ? base : QStringLiteral("%1[%2]").arg(base).arg(ordinal);
    }

    template <typename T>
    T *find(const QString &name, const std::vector<T *> &among)
    {
        for (T *v : among)
            if (nameOf(v, among) == name)
                return v;
        return nullptr;
    }

    ui::AlertView *shownAlert() { return test::shownAlert(*host); }

    bool pressKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString &text = {})
    {
        QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
        const bool taken = host->pressKey(&press);
        return taken;
    }

    void turn()
    {
        if (!Device::isTablet())
            return;
        const bool landscape = !Device::isLandscape();
        host->setScreenSize(ui::screenSizeFor(Device::profile(), landscape));
        delegate->orientationChanged(landscape);
        host->runPending();
    }

    TempHome home;
    QByteArray m_path;
    QStringList log;
    int logChecked = 0;
    std::unique_ptr<ui::HeadlessHost> host;
    std::shared_ptr<FakePicker::State> picker;
    std::unique_ptr<VimoraAppDelegate> delegate;
};

namespace {

// Splits "verb rest" and the target of "verb target args...": a target is one word or a
// quoted title with an optional ordinal ("\"Save To Album\"[1]").
struct Parsed
{
    QString verb;
    QString target;
    QStringList args;
};

Parsed parse(const QString &step)
{
    Parsed p;
    p.verb = step.section(QLatin1Char(' '), 0, 0);
    QString rest = step.section(QLatin1Char(' '), 1);
    if (p.verb == QLatin1String("type")) {
        p.target = rest;
        return p;
    }
    int end = 0;
    bool quoted = false;
    while (end < rest.size() && (quoted || rest[end] != QLatin1Char(' '))) {
        if (rest[end] == QLatin1Char('"'))
            quoted = !quoted;
        ++end;
    }
    p.target = rest.left(end);
    p.args = rest.mid(end + 1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return p;
}

struct KeyName
{
    const char *name;
    int key;
    Qt::KeyboardModifiers modifiers;
};
// The keys the README lists (Ctrl+Q aside: it ends the run) and those a text box uses.
const KeyName kKeys[] = {
    {"Escape", Qt::Key_Escape, Qt::NoModifier},  {"Return", Qt::Key_Return, Qt::NoModifier},
    {"Backspace", Qt::Key_Backspace, Qt::NoModifier}, {"Left", Qt::Key_Left, Qt::NoModifier},
    {"Tab", Qt::Key_Tab, Qt::NoModifier},        {"F11", Qt::Key_F11, Qt::NoModifier},
    {"Ctrl+0", Qt::Key_0, Qt::ControlModifier},
};

const QStringList kTypedWords{QStringLiteral("Vimora"), QStringLiteral("héllo wörld"), QStringLiteral("日本語"),
                              QStringLiteral("12"), QStringLiteral("x"), QStringLiteral("مرحبا")};

} // namespace

RandomWalk::RandomWalk(DeviceProfile profile)
    : m_profile(profile)
{
}

RandomWalk::~RandomWalk() = default;

std::optional<WalkFailure> RandomWalk::walk(quint64 seed, int steps)
{
    return run(nullptr, seed, steps);
}

std::optional<WalkFailure> RandomWalk::replay(const QStringList &steps)
{
    return run(&steps, 0, int(steps.size()));
}

std::optional<WalkFailure> RandomWalk::run(const QStringList *given, quint64 seed, int steps)
{
    m_steps.clear();
    Session s(m_profile);
    std::mt19937_64 rng(seed);
    const auto below = [&rng](int n) { return n <= 0 ? 0 : int(rng() % quint64(n)); };
    const auto chance = [&rng](int percent) { return int(rng() % 100) < percent; };
    int photos = 0;

    // --- Running one step ---

    // The walk back home: alerts answered, panels closed by Escape, then the controls that
    // lead back. Returns why it could not get there.
    const auto goHome = [&]() -> QString {
        QStringList tried;
        bool escapeHelped = true;
        for (int move = 0; move < kMovesHome; ++move) {
            if (s.atHome()) {
                if (qEnvironmentVariableIsSet("VIMORA_WALK_TRACE"))
                    fprintf(stderr, "home by %s\n", qPrintable(tried.join(", ")));
                return {};
            }
            if (ui::AlertView *alert = s.shownAlert()) {
                int chosen = alert->numberOfButtons() > 0 ? 0 : -1;
                for (const QString &answer : kAlertAnswers) {
                    const int i = [&] {
                        for (int b = 0; b < alert->numberOfButtons(); ++b)
                            if (alert->buttonTitleAtIndex(b) == answer)
                                return b;
                        return -1;
                    }();
                    if (i >= 0) {
                        chosen = i;
                        break;
                    }
                }
                if (chosen >= 0) {
                    tried << QStringLiteral("answer \"%1\"").arg(alert->buttonTitleAtIndex(chosen));
                    s.host->tap(s.centreOnScreen(*alert->buttonAtIndex(chosen)));
                }
                s.settle();
                continue;
            }
            if (s.screen() == Screen::Picker) {
                s.picker->cancel();
                s.settle();
                continue;
            }
            if (s.host->hasModal()) {
                s.settle();
                continue;
            }
            const Session::Shown before = s.shown();
            if (escapeHelped) {
                const int panels = s.host->overlays().count();
                const bool taken = s.pressKey(Qt::Key_Escape);
                s.settle();
                const Session::Shown after = s.shown();
                escapeHelped = taken && (s.host->overlays().count() < panels || s.host->hasModal() ||
                                         after.visibleControls != before.visibleControls);
                if (escapeHelped) {
                    tried << QStringLiteral("Escape");
                    continue;
                }
            }
            ui::View *way = nullptr;
            for (const QString &title : kWayHome) {
                for (ui::View *v : before.taps)
                    if (buttonTitle(*v) == title) {
                        way = v;
                        break;
                    }
                if (way)
                    break;
            }
            // A panel that must be gone through (an arrow to choose) leads back on its far side:
            // any button not pressed yet on this way.
            for (ui::View *v : before.taps)
                if (!way && dynamic_cast<ui::Button *>(v) && !tried.contains(describe(*v)))
                    way = v;
            if (!way) {
                QStringList shown;
                for (ui::View *v : before.taps)
                    shown << describe(*v);
                return QStringLiteral("stranded: on the %1 screen nothing leads back home (after %2; shown: %3)")
                    .arg(screenName(s.screen()), tried.join(QStringLiteral(", ")), shown.join(QStringLiteral(", ")));
            }
            tried << describe(*way);
            s.host->tap(s.centreOnScreen(*way));
            s.settle();
            escapeHelped = true;
        }
        return s.atHome() ? QString()
                          : QStringLiteral("stranded: home not reached in %1 moves on the %2 screen (%3)")
                                .arg(kMovesHome)
                                .arg(screenName(s.screen()), tried.join(QStringLiteral(", ")));
    };

    // Runs a step; returns the reason a "home" step failed.
    const auto perform = [&](const QString &step) -> QString {
        const Parsed p = parse(step);
        const Session::Shown now = s.shown();
        if (p.verb == QLatin1String("tap")) {
            if (ui::View *v = s.find(p.target, now.taps))
                s.host->tap(s.centreOnScreen(*v));
        } else if (p.verb == QLatin1String("at") && p.args.size() >= 1) {
            const QRectF r = s.screenRect();
            s.host->tap(QPointF(r.width() * p.target.toDouble(), r.height() * p.args[0].toDouble()));
        } else if (p.verb == QLatin1String("drag") && p.args.size() >= 2) {
            if (ui::View *v = s.find(p.target, now.gestures)) {
                const QPointF from = s.centreOnScreen(*v);
                const QRectF r = s.screenRect().adjusted(1, 1, -1, -1);
                QPointF to = from + QPointF(p.args[0].toDouble(), p.args[1].toDouble());
                to = QPointF(std::clamp(to.x(), r.left(), r.right()), std::clamp(to.y(), r.top(), r.bottom()));
                s.host->drag(from, to, 8, 0.2);
            }
        } else if (p.verb == QLatin1String("pinch") && p.args.size() >= 1) {
            if (ui::View *v = s.find(p.target, now.gestures)) {
                const double scale = p.args[0].toDouble();
                s.host->pinch(s.centreOnScreen(*v), 80, {1 + (scale - 1) / 3, 1 + 2 * (scale - 1) / 3, scale});
            }
        } else if (p.verb == QLatin1String("hold")) {
            if (ui::View *v = s.find(p.target, now.gestures))
                s.host->press(s.centreOnScreen(*v), 1.2);
        } else if (p.verb == QLatin1String("slide") && p.args.size() >= 1) {
            if (ui::Slider *slider = s.find(p.target, now.sliders)) {
                const QPointF thumb = slider->convertPointTo(slider->thumbRect().center(), nullptr);
                const double value = slider->minimumValue() + (slider->maximumValue() - slider->minimumValue()) * p.args[0].toDouble();
                const QPointF to = slider->convertPointTo(QPointF(slider->thumbCenterForValue(value), slider->bounds().center().y()),
                                                          nullptr);
                s.host->drag(thumb, to, 6, 0.15);
            }
        } else if (p.verb == QLatin1String("type")) {
            for (const QChar c : p.target)
                s.pressKey(0, Qt::NoModifier, QString(c));
        } else if (p.verb == QLatin1String("key")) {
            for (const KeyName &k : kKeys)
                if (p.target == QLatin1String(k.name))
                    s.pressKey(k.key, k.modifiers);
        } else if (p.verb == QLatin1String("turn")) {
            s.turn();
        } else if (p.verb == QLatin1String("wheel") && p.args.size() >= 2) {
            const QRectF r = s.screenRect();
            s.host->scrollWheel(QPointF(r.width() * p.target.toDouble(), r.height() * p.args[0].toDouble()),
                                QPointF(0, p.args[1].toDouble()));
        } else if (p.verb == QLatin1String("pick")) {
            if (p.target == QLatin1String("cancel"))
                s.picker->cancel();
            else if (p.target == QLatin1String("unreadable"))
                s.picker->pick(Picture(), QStringLiteral("The photo \"broken.jpg\" could not be read."));
            else if (p.target == QLatin1String("damaged")) {
                PhotoPicker::Result damaged;
                damaged.photo = testPhoto(320, 240, ++photos);
                damaged.path = QStringLiteral("/photos/damaged.jpg");
                damaged.damaged = true;
                s.picker->answer(damaged);
            } else if (p.target == QLatin1String("wide"))
                s.picker->pick(testPhoto(640, 200, ++photos));
            else if (p.target == QLatin1String("tall"))
                s.picker->pick(testPhoto(180, 420, ++photos));
            else
                s.picker->pick(testPhoto(360, 270, ++photos));
        } else if (p.verb == QLatin1String("home")) {
            const QString why = goHome();
            s.settle();
            return why;
        }
        s.settle();
        return {};
    };

    // --- Drawing a random step from what is on screen ---

    const auto draw = [&]() -> QString {
        // The picker covers the screen (a phone's whole screen, a tablet's popover whose
        // outside tap only closes it): the fake one stands in for that by being answered.
        if (s.screen() == Screen::Picker && !s.host->hasModal()) {
            static const char *answers[] = {"photo", "photo", "photo", "wide", "tall", "damaged", "unreadable", "cancel"};
            return QStringLiteral("pick %1").arg(QString::fromLatin1(answers[below(8)]));
        }
        if (chance(2))
            return QStringLiteral("home");
        const Session::Shown now = s.shown();
        const int roll = below(100);
        if (roll < 55 && !now.taps.empty())
            return QStringLiteral("tap %1").arg(s.nameOf(now.taps[below(int(now.taps.size()))], now.taps));
        if (roll < 70 && !now.gestures.empty()) {
            const QString target = s.nameOf(now.gestures[below(int(now.gestures.size()))], now.gestures);
            const int kind = below(10);
            if (kind < 6)
                return QStringLiteral("drag %1 %2 %3").arg(target).arg(below(241) - 120).arg(below(241) - 120);
            if (kind < 9)
                return QStringLiteral("pinch %1 %2").arg(target).arg(0.5 + below(11) * 0.1, 0, 'f', 1);
            return QStringLiteral("hold %1").arg(target);
        }
        if (roll < 78 && !now.sliders.empty())
            return QStringLiteral("slide %1 %2")
                .arg(s.nameOf(now.sliders[below(int(now.sliders.size()))], now.sliders))
                .arg(below(101) / 100.0, 0, 'f', 2);
        if (roll < 84 && s.host->focusView() && s.host->focusView()->acceptsTextInput())
            return QStringLiteral("type %1").arg(kTypedWords[below(int(kTypedWords.size()))]);
        if (roll < 90)
            return QStringLiteral("key %1").arg(QString::fromLatin1(kKeys[roll % 3 == 0 ? 0 : below(int(std::size(kKeys)))].name));
        if (roll < 93 && Device::isTablet())
            return QStringLiteral("turn");
        if (roll < 95)
            return QStringLiteral("wheel %1 %2 %3").arg(below(100) / 100.0).arg(below(100) / 100.0).arg(below(201) - 100);
        return QStringLiteral("at %1 %2").arg(below(1000) / 1000.0, 0, 'f', 3).arg(below(1000) / 1000.0, 0, 'f', 3);
    };

    // --- The checks after every step ---

    const auto check = [&](int stepIndex) -> QString {
        const QStringList missing = Resources::missingNames();
        if (!missing.isEmpty())
            return QStringLiteral("missing resource: %1").arg(missing.join(QStringLiteral(", ")));
        for (; s.logChecked < s.log.size(); ++s.logChecked)
            if (s.log[s.logChecked].contains(QLatin1String("missing"), Qt::CaseInsensitive))
                return QStringLiteral("missing logged: %1").arg(s.log[s.logChecked]);

        const Screen screen = s.screen();
        const Session::Shown now = s.shown();
        if (screen != Screen::Picker && !s.host->hasModal() && now.taps.empty() && s.host->overlays().count() == 0 &&
            !(s.host->focusView() && s.host->focusView()->window() == &s.host->window()))
            return QStringLiteral("stranded: the %1 screen shows no control, and no panel or focus takes Escape").arg(screenName(screen));

        if (screen != Screen::Picker) {
            const QStringList *foreign[] = {screen == Screen::Home ? nullptr : &kHomeOnly,
                                            screen == Screen::Editor ? nullptr : &kEditorOnly,
                                            screen == Screen::Compositor ? nullptr : &kCompositorOnly,
                                            screen == Screen::Home ? &kTextOverlay : nullptr};
            for (ui::View *v : now.visibleControls)
                for (const QStringList *titles : foreign)
                    if (titles && titles->contains(buttonTitle(*v)))
                        return QStringLiteral("foreign control: the %1 screen shows \"%2\"").arg(screenName(screen), buttonTitle(*v));
            // Each screen keeps its layers to itself: none of another screen's is up.
            const std::pair<Screen, const ScreenViews *> owners[] = {{Screen::Home, &s.root().top().views()},
                                                                     {Screen::Editor, &s.root().draw().views()},
                                                                     {Screen::Compositor, &s.root().backPhoto().views()}};
            for (const auto &[owner, views] : owners) {
                if (owner == screen)
                    continue;
                const std::pair<const char *, const ui::View *> layers[] = {
                    {"background", views->backImgView.get()}, {"editor", views->cutImgView.get()},
                    {"text", views->wordView.get()},          {"toolbar", views->selectTopView.get()},
                    {"panel", views->descripImg.get()},       {"second panel", views->descripImg2.get()}};
                for (const auto &[layerName, layer] : layers)
                    if (!layer->isHidden())
                        return QStringLiteral("foreign layer: the %1 screen shows the %2 screen's %3 layer")
                            .arg(screenName(screen), screenName(owner), QLatin1String(layerName));
            }
        }

        WorkingFiles::shared().flush();
        const QDir tmp(AppHome::tempDir());
        const bool full = stepIndex % kFullDecodeEvery == 0;
        for (const QString &name : tmp.entryList({QStringLiteral("*.png"), QStringLiteral("*.jpg")}, QDir::Files)) {
            QImageReader reader(tmp.filePath(name));
            const bool parses = reader.canRead() && reader.size().isValid() && (!full || !reader.read().isNull());
            // The job's writer drops pictures its record no longer names, on its own thread.
            if (!parses && QFileInfo::exists(tmp.filePath(name)))
                return QStringLiteral("working file does not parse: %1 (%2)").arg(name, reader.errorString());
        }
        return {};
    };

    for (int i = 0; i < steps; ++i) {
        const QString step = given ? (*given)[i] : draw();
        m_steps << step;
        if (m_observer)
            m_observer(step);
        QString why = perform(step);
        if (why.isEmpty())
            why = check(i);
        if (qEnvironmentVariableIsSet("VIMORA_WALK_TRACE")) {
            QStringList shown;
            for (ui::View *v : s.shown().taps)
                shown << describe(*v);
            fprintf(stderr, "%s -> %s: %s\n", qPrintable(step), qPrintable(screenName(s.screen())), qPrintable(shown.join(", ")));
        }
        if (!why.isEmpty()) {
            // The screen as it was, for a look at what went wrong.
            if (const QString shot = qEnvironmentVariable("VIMORA_WALK_SCREENSHOT"); !shot.isEmpty())
                s.host->render().save(shot);
            return WalkFailure{i, why};
        }
    }
    if (!given) {
        // Whatever the walk left open, home must still be reachable.
        const QString step = QStringLiteral("home");
        m_steps << step;
        if (m_observer)
            m_observer(step);
        QString why = perform(step);
        if (why.isEmpty())
            why = check(steps);
        if (!why.isEmpty())
            return WalkFailure{steps, why};
    }
    return std::nullopt;
}

void RandomWalk::explore(int steps, bool landscape, const StepInspector &inspect, const QStringList &start,
                         const QString &stayOn)
{
    m_steps.clear();
    std::unique_ptr<Session> s;
    const auto launch = [&] {
        m_exploring = nullptr;
        m_lastTapped = nullptr;
        s.reset();
        s = std::make_unique<Session>(m_profile);
        m_exploring = s.get();
        if (landscape)
            s->turn();
        s->settle();
        for (const QString &name : start) {
            const Session::Shown now = s->shown();
            if (ui::View *v = s->find(name, now.taps))
                s->host->tap(s->centreOnScreen(*v));
            s->settle();
        }
    };
    launch();
    QHash<QString, int> tapped;
    int photos = 0;
    for (int i = 0; i < steps; ++i) {
        inspect(*s->host, screenName(s->screen()));
        if (s->screen() == Screen::Picker && !s->host->hasModal()) {
            m_steps << QStringLiteral("pick photo");
            if (!m_pickedPhoto.isNull())
                s->picker->pick(m_pickedPhoto);
            else
                s->picker->pick(photos % 2 ? testPhoto(640, 200, ++photos) : testPhoto(360, 270, ++photos));
            s->settle();
            continue;
        }
        const Session::Shown now = s->shown();
        ui::View *next = nullptr;
        QString nextKey;
        int fewest = std::numeric_limits<int>::max();
        for (ui::View *v : now.taps) {
            const QString name = dynamic_cast<ui::TableViewCell *>(v) ? QStringLiteral("cell") : s->nameOf(v, now.taps);
            const QString key = screenName(s->screen()) + QLatin1Char(' ') + name;
            if (const int count = tapped.value(key); count < fewest) {
                fewest = count;
                next = v;
                nextKey = key;
            }
        }
        if (!next || (!stayOn.isEmpty() && screenName(s->screen()) != stayOn)) {
            m_steps << QStringLiteral("relaunch");
            if (m_observer)
                m_observer(m_steps.back());
            launch();
            continue;
        }
        ++tapped[nextKey];
        m_steps << QStringLiteral("tap %1").arg(s->nameOf(next, now.taps));
        m_lastTapped = next;
        if (m_observer)
            m_observer(m_steps.back());
        s->host->tap(s->centreOnScreen(*next));
        if (m_tapAnswer)
            m_tapAnswer(*s->host);
        s->settle();
    }
    inspect(*s->host, screenName(s->screen()));
    m_exploring = nullptr;
    m_lastTapped = nullptr;
}

void RandomWalk::settle()
{
    if (m_exploring)
        m_exploring->settle();
}

QStringList RandomWalk::shrink(const QStringList &steps, const WalkFailure &failure, int budget)
{
    QStringList best = steps.mid(0, failure.step + 1);
    const QString rule = failure.rule();
    // Drops chunks, halving their size down to single steps, while the same rule still breaks;
    // a failure earlier in the list cuts it there.
    for (int chunk = std::max(1, int(best.size()) / 2); chunk >= 1 && budget > 0; chunk /= 2) {
        for (int start = 0; start + chunk <= best.size() && budget > 0;) {
            QStringList candidate = best;
            candidate.erase(candidate.begin() + start, candidate.begin() + start + chunk);
            --budget;
            const std::optional<WalkFailure> f = replay(candidate);
            if (f && f->rule() == rule)
                best = candidate.mid(0, f->step + 1);
            else
                start += chunk;
        }
    }
    return best;
}

} // namespace vimora::test
