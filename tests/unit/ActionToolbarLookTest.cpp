// The QAction front end's looks: the translucent default, drawn as it always
// was, and the solid look, opaque on a panel over whatever lies beneath.
#include "MiniToolbars/ActionToolbar.h"
#include "MiniToolbars/Controller.h"
#include "MiniToolbars/Options.h"
#include "support/WindowTestSupport.h"

#include <QAction>
#include <QImage>
#include <QWidget>

using namespace MiniToolbars;
using namespace MiniToolbars::Testing;

namespace {

const char* themeName(Options::Theme theme)
{
    return theme == Options::Dark ? "dark" : "light";
}

void setTheme(Options::Theme theme)
{
    Controller* controller = ActionToolbar::controller();
    Options options = controller->getOptions();
    options.setTheme(theme);
    controller->setOptions(options);
}

class ActionToolbarLookTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Style::setXHeightOverride(6);
        host.setGeometry(100, 100, 600, 400);
        host.show();
        for (const char* name : {"Bold", "Italic", "Underline"})
            toolbar->addAction(new QAction(QString::fromLatin1(name), &host));
    }
    void TearDown() override
    {
        toolbar.reset();
        setTheme(Options::Light);
        Style::setXHeightOverride(-1);
    }
    // Shows the toolbar and waits until it is laid out, placed and fully opaque.
    QmtbView* showToolbar()
    {
        EXPECT_TRUE(toolbar->show(&host, QRect(100, 200, 80, 20)));
        QmtbView* window = windowOf(toolbar->miniToolbar());
        EXPECT_TRUE(eventually([&] { return !window->isLayoutPending() && window->currentOpacity() == 1.0; }));
        QCoreApplication::processEvents();
        return window;
    }

    QWidget host;
    std::unique_ptr<ActionToolbar> toolbar = std::make_unique<ActionToolbar>();
};

// Compares a grab with a reference image of the test data; a differing grab is
// saved beside the test program for a look.
::testing::AssertionResult matchesReference(const QImage& grab, const QString& name)
{
    const QString reference = QStringLiteral(MTB_TEST_DATA_DIR "/looks/%1-qt%2.png").arg(name).arg(QT_VERSION_MAJOR);
    const QImage expected(reference);
    const QImage actual = grab.convertToFormat(QImage::Format_ARGB32);
    if (!expected.isNull() && expected.convertToFormat(QImage::Format_ARGB32) == actual)
        return ::testing::AssertionSuccess();
    const QString saved = QStringLiteral(MTB_TEST_BINARY_DIR "/%1-qt%2.png").arg(name).arg(QT_VERSION_MAJOR);
    actual.save(saved);
    return ::testing::AssertionFailure() << "the grab differs from " << reference.toStdString() << " (saved as "
                                         << saved.toStdString() << ")";
}

} // namespace

// A toolbar in the default look draws, pixel for pixel, what it drew before
// there was another look, in both themes.
TEST_F(ActionToolbarLookTest, defaultLookDrawsAsItAlwaysDid)
{
    for (const Options::Theme theme : {Options::Light, Options::Dark}) {
        SCOPED_TRACE(themeName(theme));
        setTheme(theme);
        QmtbView* window = showToolbar();
        EXPECT_TRUE(matchesReference(window->grab().toImage(), QStringLiteral("translucent-%1").arg(QLatin1String(themeName(theme)))));
        toolbar->close();
    }
}
