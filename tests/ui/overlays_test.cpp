// Panels that close by an outside tap and by Escape, and rich-text pages with links.
#include <QKeyEvent>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "ui/alert_view.h"
#include "ui/button.h"
#include "ui/headless_host.h"
#include "ui/overlay_stack.h"
#include "ui/popover.h"
#include "ui/rich_text_view.h"
#include "ui/scroll_view.h"
#include "ui/text_field.h"

using namespace vimora;
using namespace vimora::ui;

namespace {

struct Screen
{
    HeadlessHost host{QSizeF(768, 1024)};
    ViewPtr root = std::make_shared<View>();

    Screen() { host.setRootView(root); }

    bool press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString &text = {})
    {
        QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
        return host.pressKey(&event);
    }
};

// A panel its owner closes by hiding it and telling the stack, as the screens do.
struct Panel
{
    ViewPtr view;
    int closes = 0;

    Panel(View &parent, QRectF frame)
        : view(std::make_shared<View>(frame))
    {
        parent.addSubview(view);
    }
    void open(OverlayStack::OutsideTap outside = OverlayStack::OutsideTap::Closes)
    {
        view->setHidden(false);
        view->superview()->bringSubviewToFront(view.get());
        OverlayStack::of(view.get()).open(view, [this] { close(); }, outside);
    }
    void close()
    {
        ++closes;
        view->setHidden(true);
        OverlayStack::of(view.get()).closed(view.get());
    }
};

} // namespace

TEST(OverlayStack, AnOutsideTapClosesThePanelAndGoesNoFurther)
{
    Screen s;
    int behindTapped = 0;
    auto behind = std::make_shared<Button>(QRectF(0, 900, 100, 100));
    behind->addAction(ControlEventTouchUpInside, [&](Control &) { ++behindTapped; });
    s.root->addSubview(behind);
    Panel panel(*s.root, QRectF(100, 100, 300, 300));
    auto inside = std::make_shared<Button>(QRectF(10, 10, 80, 40));
    int insideTapped = 0;
    inside->addAction(ControlEventTouchUpInside, [&](Control &) { ++insideTapped; });
    panel.view->addSubview(inside);
    panel.open();

    s.host.tap(QPointF(150, 130)); // the panel's own button
    s.host.tap(QPointF(200, 350)); // the panel's background
    EXPECT_EQ(insideTapped, 1);
    EXPECT_EQ(panel.closes, 0);

    s.host.tap(QPointF(50, 950)); // on the button behind, outside the panel
    EXPECT_EQ(panel.closes, 1);
    EXPECT_EQ(behindTapped, 0);
    EXPECT_EQ(OverlayStack::of(panel.view.get()).count(), 0);
    EXPECT_EQ(OverlayStack::of(panel.view.get()).backdropOf(panel.view.get()), nullptr);

    s.host.tap(QPointF(50, 950)); // closed: the screen behind answers again
    EXPECT_EQ(behindTapped, 1);
}

TEST(OverlayStack, EscapeClosesTheTopmostShownPanelOneAtATime)
{
    Screen s;
    Panel first(*s.root, QRectF(0, 0, 200, 200));
    Panel second(*s.root, QRectF(300, 300, 200, 200));
    Panel hiddenByItsOwner(*s.root, QRectF(500, 0, 100, 100));
    first.open();
    second.open();
    hiddenByItsOwner.open();
    hiddenByItsOwner.view->setHidden(true); // without telling the stack

    EXPECT_TRUE(s.press(Qt::Key_Escape));
    EXPECT_EQ(hiddenByItsOwner.closes, 0);
    EXPECT_EQ(second.closes, 1);
    EXPECT_EQ(first.closes, 0);

    // A panel opened again comes to the top.
    second.open();
    first.open();
    EXPECT_TRUE(s.press(Qt::Key_Escape));
    EXPECT_EQ(first.closes, 1);
    EXPECT_EQ(second.closes, 1);

    EXPECT_TRUE(s.press(Qt::Key_Escape));
    EXPECT_EQ(second.closes, 2);
    EXPECT_FALSE(s.press(Qt::Key_Escape)); // nothing left to close
    EXPECT_FALSE(s.press(Qt::Key_Escape, Qt::ShiftModifier));
}

TEST(OverlayStack, APanelOpenedTwiceHasOneEntryAndAGonePanelIsNoOnesEntry)
{
    Screen s;
    Panel panel(*s.root, QRectF(100, 100, 300, 300));
    OverlayStack &stack = OverlayStack::of(panel.view.get());

    panel.open();
    panel.open();
    EXPECT_EQ(stack.count(), 1);
    EXPECT_EQ(s.root->subviews().size(), 2u); // the panel and one backdrop
    panel.close();
    EXPECT_FALSE(stack.isOpen(panel.view.get()));
    EXPECT_EQ(stack.backdropOf(panel.view.get()), nullptr);
    EXPECT_EQ(s.root->subviews().size(), 1u);

    // A panel dropped without being closed leaves an entry no panel answers to, and asking
    // about no panel finds nothing rather than reading the gone one.
    auto gone = std::make_shared<View>(QRectF(0, 0, 10, 10));
    s.root->addSubview(gone);
    stack.open(gone, [] {});
    gone->removeFromSuperview();
    gone.reset();
    EXPECT_FALSE(stack.isOpen(nullptr));
    EXPECT_EQ(stack.count(), 0);
}

TEST(OverlayStack, AHiddenPanelsBackdropLetsTouchesThrough)
{
    Screen s;
    int tapped = 0;
    auto behind = std::make_shared<Button>(QRectF(0, 900, 100, 100));
    behind->addAction(ControlEventTouchUpInside, [&](Control &) { ++tapped; });
    s.root->addSubview(behind);
    Panel panel(*s.root, QRectF(100, 100, 300, 300));
    panel.open();
    panel.view->setHidden(true); // its owner forgot to say so

    s.host.tap(QPointF(50, 950));
    EXPECT_EQ(tapped, 1);
    EXPECT_EQ(panel.closes, 0);
}

TEST(OverlayStack, AFocusedFieldKeepsItsKeysAndAnAlertTakesEscapeAsItsCancel)
{
    Screen s;
    Panel panel(*s.root, QRectF(100, 100, 400, 300));
    auto field = std::make_shared<TextField>(QRectF(10, 10, 200, 30));
    panel.view->addSubview(field);
    panel.open();

    auto alert = std::make_shared<AlertView>(QStringLiteral("Saved"), QString(), nullptr, QStringLiteral("OK"));
    alert->show();
    // The alert goes, the panel under it stays: one thing at a time.
    EXPECT_TRUE(s.press(Qt::Key_Escape));
    s.host.advance(1);
    EXPECT_FALSE(alert->isVisible());
    EXPECT_FALSE(s.host.hasModal());
    EXPECT_EQ(panel.closes, 0);

    ASSERT_TRUE(field->becomeFirstResponder());
    EXPECT_TRUE(s.press(Qt::Key_A, Qt::NoModifier, QStringLiteral("a")));
    EXPECT_EQ(field->text(), QStringLiteral("a"));
    EXPECT_EQ(panel.closes, 0);
    EXPECT_TRUE(s.press(Qt::Key_Escape));
    EXPECT_EQ(panel.closes, 1);
}

TEST(OverlayStack, EscapeClosesAPopoverAsAnOutsideTapDoes)
{
    struct Delegate : PopoverDelegate
    {
        int dismissed = 0;
        void popoverControllerDidDismissPopover(Popover &) override { ++dismissed; }
    } delegate;
    Screen s;
    Popover popover(std::make_shared<View>());
    popover.setDelegate(&delegate);
    popover.presentPopoverFromRect(QRectF(300, 500, 10, 10), s.root.get(), PopoverArrowDirectionAny, false);
    ASSERT_TRUE(popover.isPopoverVisible());

    EXPECT_TRUE(s.press(Qt::Key_Escape));
    EXPECT_FALSE(popover.isPopoverVisible());
    EXPECT_EQ(delegate.dismissed, 1);
    EXPECT_FALSE(s.press(Qt::Key_Escape));

    // Dismissed by code, the popover leaves nothing for Escape either.
    popover.presentPopoverFromRect(QRectF(300, 500, 10, 10), s.root.get(), PopoverArrowDirectionAny, false);
    popover.dismissPopoverAnimated(false);
    EXPECT_FALSE(s.press(Qt::Key_Escape));
    EXPECT_EQ(delegate.dismissed, 1);
}

TEST(RichTextView, ATapOnALinkReportsItsAddressResolvedAgainstThePage)
{
    Screen s;
    QTemporaryDir dir;
    const QUrl base = QUrl::fromLocalFile(dir.filePath(QStringLiteral("guide/index.html")));
    auto scroll = std::make_shared<ScrollView>(QRectF(0, 0, 400, 300));
    s.root->addSubview(scroll);
    auto page = std::make_shared<RichTextView>(QRectF(0, 0, 400, 10));
    page->setHtml(QStringLiteral("<html><head><title>Vimora: First</title></head><body>"
                                 "<h1>First</h1><p style='font-size:40px'>Long<br>text<br>here<br>and<br>more</p>"
                                 "<p><a href='second.html'>Second page</a></p></body></html>"),
                  base);
    page->sizeToFit();
    scroll->addSubview(page);
    scroll->setContentSize(page->frame().size());
    EXPECT_EQ(page->documentTitle(), QStringLiteral("Vimora: First"));
    EXPECT_GT(page->frame().height(), 300); // it follows the text, beyond the scroll view

    std::vector<QUrl> followed;
    page->setLinkHandler([&](const QUrl &url) { followed.push_back(url); });
    // Scrolled to the end, the link is in view near the bottom: find it there.
    scroll->setContentOffset(scroll->maximumContentOffset());
    QPointF link;
    for (double y = 0; y < 300 && link.isNull(); y += 2)
        for (double x = 0; x < 200 && link.isNull(); x += 4)
            if (!page->linkAt(page->convertPointFrom(QPointF(x, y), nullptr)).isEmpty())
                link = QPointF(x, y);
    ASSERT_FALSE(link.isNull());

    s.host.tap(QPointF(300, 20)); // no link there
    EXPECT_TRUE(followed.empty());
    s.host.drag(link, link + QPointF(0, -60)); // a scroll, not a tap
    EXPECT_TRUE(followed.empty());
    scroll->setContentOffset(scroll->maximumContentOffset());
    s.host.tap(link);
    ASSERT_EQ(followed.size(), 1u);
    EXPECT_EQ(followed[0], QUrl::fromLocalFile(dir.filePath(QStringLiteral("guide/second.html"))));
}
