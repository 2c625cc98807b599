#include "player/frame_slider.h"
#include "player_test_suites.h"
#include "started_player.h"

#include <QStyleOptionSlider>
#include <QTest>

namespace {

// The thumb as the style draws it at value.
QRect drawnThumb(CFrameSlider& slider, int value)
{
    QStyleOptionSlider option;
    option.initFrom(&slider);
    option.orientation = slider.orientation();
    option.minimum = slider.minimum();
    option.maximum = slider.maximum();
    option.sliderPosition = value;
    option.sliderValue = value;
    option.tickPosition = slider.tickPosition();
    option.subControls = QStyle::SC_All;
    return slider.style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle,
                                          &slider);
}

int drawnThumbCentre(CFrameSlider& slider, int value)
{
    const QRect thumb = drawnThumb(slider, value);
    return thumb.left() + thumb.width() / 2;
}

// A point at x on the level of the groove, where a click is one in the channel.
QPoint at(CFrameSlider& slider, int x)
{
    return {x, drawnThumb(slider, slider.value()).center().y()};
}

} // namespace

class FrameSliderTest : public QObject
{
    Q_OBJECT

private slots:
    void theFrameUnderTheCursorRoundsToTheNearest()
    {
        // A thumb centre 12 pixels in at the minimum and a window of 400: a channel of 376.
        QCOMPARE(CFrameSlider::frameAtPosition(200, 0, 376, 12, 376), 188);
        QCOMPARE(CFrameSlider::frameAtPosition(12, 0, 376, 12, 376), 0);
        QCOMPARE(CFrameSlider::frameAtPosition(388, 0, 376, 12, 376), 376);
        QCOMPARE(CFrameSlider::frameAtPosition(200, 0, 99, 12, 376), 50); // 49.5 + 0.5
        QCOMPARE(CFrameSlider::frameAtPosition(200, 5, 104, 12, 376), 55);
        // Beyond the ends: frames outside the range, which a seek ignores.
        QVERIFY(CFrameSlider::frameAtPosition(399, 0, 376, 12, 376) > 376);
        QVERIFY(CFrameSlider::frameAtPosition(-20, 0, 376, 12, 376) < 0);
        QCOMPARE(CFrameSlider::frameAtPosition(200, 0, 376, 12, 0), 0);
    }

    void theMeasuredChannelIsWhereTheThumbTravels()
    {
        CFrameSlider slider;
        slider.setRange(0, 376);
        slider.resize(400, slider.sizeHint().height());
        slider.Prepare();
        QCOMPARE(slider.value(), 0);
        QCOMPARE(slider.thumbCentre(), drawnThumbCentre(slider, 0));
        QCOMPARE(slider.channelWidth(), 400 - 2 * slider.thumbCentre());
        QVERIFY(qAbs(drawnThumbCentre(slider, 376) -
                     (slider.thumbCentre() + slider.channelWidth())) <= 1);
    }

    void draggingShowsTheNearestKeyFrameAndReleasingSeeksToTheFrameUnderTheMouse()
    {
        StartedPlayer player(demoVideo());
        CFrameSlider& slider = *player.panel().slider();
        const QImage before = player.window().frame();
        const int target = slider.thumbCentre() + slider.channelWidth() / 2;
        const int frame = CFrameSlider::frameAtPosition(target, 0, 249, slider.thumbCentre(),
                                                        slider.channelWidth());
        QTest::mousePress(&slider, Qt::LeftButton, {}, at(slider, slider.thumbCentre()));
        QTest::mouseMove(&slider, at(slider, target - 10));
        QTest::mouseMove(&slider, at(slider, target));
        QCOMPARE(player.text(FrameTextControl::CurrentFrame),
                 QString::fromStdString(player.source().FormatFrameText(frame)));
        QCOMPARE(player.source().currentFrame(), 0);
        // The picture follows with the nearest key frame at or before the thumb, and the title
        // says so.
        const int key = player.source().FindKeyFrame(frame, SearchDirection::Backward);
        QVERIFY(key > 0 && key < frame);
        QTRY_VERIFY(
            player.window().windowTitle().endsWith(QStringLiteral("key frame %1").arg(key)));
        const QImage preview = player.window().frame();
        QVERIFY(preview != before);

        QTest::mouseRelease(&slider, Qt::LeftButton, {}, at(slider, target));
        QCOMPARE(player.source().currentFrame(), frame);
        QCOMPARE(slider.value(), frame);
        QVERIFY(player.window().frame() != before && player.window().frame() != preview);
        QVERIFY(!player.window().windowTitle().contains(QStringLiteral("key frame")));
    }

    void releasingBeyondTheEndSeeksNowhere()
    {
        StartedPlayer player(demoVideo());
        CFrameSlider& slider = *player.panel().slider();
        player.source().Seek(10);
        const int thumb = slider.thumbCentre() + slider.channelWidth() * 10 / 249;
        QTest::mousePress(&slider, Qt::LeftButton, {}, at(slider, thumb));
        QTest::mouseMove(&slider, at(slider, slider.width() / 2));
        QTest::mouseMove(&slider, at(slider, slider.width() + 40));
        QTest::mouseRelease(&slider, Qt::LeftButton, {}, at(slider, slider.width() + 40));
        QCOMPARE(player.source().currentFrame(), 10);
        // The thumb and the text are back on the frame that is still shown.
        QCOMPARE(slider.value(), 10);
        QCOMPARE(player.text(FrameTextControl::CurrentFrame), QStringLiteral("10 00:00:00.400"));
    }

    void aClickBesideTheThumbSeeksToTheFrameUnderTheMouse()
    {
        StartedPlayer player(demoVideo());
        CFrameSlider& slider = *player.panel().slider();
        const int x = slider.thumbCentre() + slider.channelWidth() * 3 / 4;
        const int frame =
            CFrameSlider::frameAtPosition(x, 0, 249, slider.thumbCentre(), slider.channelWidth());
        QTest::mouseClick(&slider, Qt::LeftButton, {}, at(slider, x));
        QCOMPARE(player.source().currentFrame(), frame);
        QCOMPARE(slider.value(), frame);
    }
};

int runFrameSliderTests(int argc, char** argv)
{
    FrameSliderTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "frame_slider_test.moc"
