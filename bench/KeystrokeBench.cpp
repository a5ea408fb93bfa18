// One digit typed into the main window's amount field, handled whole: the keystroke filter, the
// cleaning, the conversion, the formatting and the nested write into the other field. Beside it,
// in the same run, the two plain text sets that this handling makes, on plain line edits.
#include "app/ApplicationDesign.h"
#include "app/EuroProgramme.h"
#include "forms/main/FrmQuilmar.h"
#include "toolkit/Application.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

void BM_TypedDigit(benchmark::State& state)
{
    FrmQuilmar& main = *frmQuilmar;
    main.TextEuro.setText(QStringLiteral("1234"));
    QWidget* field = main.TextEuro.widget();
    for (auto _ : state) {
        // A digit, then the backspace that takes it back: two whole keystrokes.
        QKeyEvent digit(QEvent::KeyPress, Qt::Key_5, Qt::NoModifier, QStringLiteral("5"));
        QApplication::sendEvent(field, &digit);
        QKeyEvent backspace(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
        QApplication::sendEvent(field, &backspace);
    }
    if (main.TextEuro.text() != QStringLiteral("1234") || main.TextFranc.text().isEmpty())
        state.SkipWithError("the keystrokes did not convert");
    state.SetItemsProcessed(2 * state.iterations());
}
BENCHMARK(BM_TypedDigit);

void BM_TwoPlainSets(benchmark::State& state)
{
    QWidget window;
    auto* typed = new QLineEdit(&window);
    auto* other = new QLineEdit(&window);
    window.show();
    const QString typedTexts[] = { QStringLiteral("12345"), QStringLiteral("1234") };
    const QString otherTexts[] = { QStringLiteral("80979,039"), QStringLiteral("8094,509") };
    for (auto _ : state) {
        for (int i = 0; i < 2; ++i) {
            typed->setText(typedTexts[i]);
            other->setText(otherTexts[i]);
        }
    }
    state.SetItemsProcessed(2 * state.iterations());
}
BENCHMARK(BM_TwoPlainSets);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir workingDirectory;
    QDir::setCurrent(workingDirectory.path());
    toolkit::Application application(argc, argv, quilmarApplicationDesign());
    EuroProgramme::StartUp();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
