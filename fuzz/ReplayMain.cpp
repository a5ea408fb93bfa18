// Runs a fuzz target's input function on files and folders of inputs, as an ordinary program:
// the suite replays the seed corpora and every finding kept beside them through it.
#include <QDirIterator>
#include <QFile>
#include <cstddef>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

int replay(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return 1;
    }
    const QByteArray bytes = file.readAll();
    LLVMFuzzerTestOneInput(
        reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);
    int inputs = 0;
    int failures = 0;
    for (int i = 1; i < argc; ++i) {
        const QString path = QString::fromLocal8Bit(argv[i]);
        QDirIterator entries(path, QDir::Files, QDirIterator::Subdirectories);
        if (!entries.hasNext()) {
            failures += replay(path);
            ++inputs;
        }
        while (entries.hasNext()) {
            failures += replay(entries.next());
            ++inputs;
        }
    }
    std::printf("%d passed, %d failed\n", inputs - failures, failures);
    return failures == 0 && inputs > 0 ? 0 : 1;
}
