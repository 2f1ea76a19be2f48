#include "app/firstpaint.h"

#include <QTest>
#include <QWidget>

#include <memory>

namespace {
class CountedPaints : public QWidget
{
public:
    using QWidget::QWidget;
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};
} // namespace

class TestFirstPaint : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The work waits until the window and its controls are painted, and runs only once.
    void runsOnceTheWholeWindowIsPainted()
    {
        CountedPaints window;
        window.resize(200, 100);
        auto* control = new CountedPaints(&window);
        control->setGeometry(10, 10, 50, 20);
        QList<int> controlPaintsAtRun;
        runAfterFirstPaint(window, [&] { controlPaintsAtRun.append(control->paints); });
        QCoreApplication::processEvents();
        QVERIFY(controlPaintsAtRun.isEmpty());

        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_COMPARE(controlPaintsAtRun.size(), 1);
        QVERIFY(controlPaintsAtRun.first() >= 1);

        window.repaint();
        window.hide();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_VERIFY(window.paints >= 3);
        QCoreApplication::processEvents();
        QCOMPARE(controlPaintsAtRun.size(), 1);
    }

    void closedUnpaintedWindowRunsNothing()
    {
        auto window = std::make_unique<QWidget>();
        bool ran = false;
        runAfterFirstPaint(*window, [&] { ran = true; });
        window.reset();
        QCoreApplication::processEvents();
        QVERIFY(!ran);
    }
};

QTEST_MAIN(TestFirstPaint)
#include "tst_firstpaint.moc"
