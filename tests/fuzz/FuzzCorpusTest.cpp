// The fuzz targets' checks over their seed corpus and over every input that
// once found a fault (kept in the corpus under a name saying what it was).
#include "StoreLoadCheck.h"
#include "WaveOpenCheck.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

using Check = std::function<QString(const QByteArray &, const QString &)>;

struct Target
{
    const char *corpus;
    const char *suffix;
    Check check;
    int minimumInputs;
};

TEST(FuzzCorpus, EveryKeptInputPassesItsCheck)
{
    const Target targets[] = {
        {"store", ".conf", checkStoreLoad, 10},
        {"wav", ".wav", checkWaveOpen, 10},
    };
    for (const Target &target : targets) {
        const QDir corpus(QStringLiteral(TICKWELL_FUZZ_CORPUS "/") + QLatin1String(target.corpus));
        const QStringList inputs = corpus.entryList(QDir::Files, QDir::Name);
        EXPECT_GE(inputs.size(), target.minimumInputs) << corpus.path().toStdString();
        for (const QString &name : inputs) {
            SCOPED_TRACE(corpus.filePath(name).toStdString());
            QFile file(corpus.filePath(name));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            const QTemporaryDir scratch;
            EXPECT_EQ(target.check(file.readAll(), scratch.filePath(QStringLiteral("input") + target.suffix))
                          .toStdString(),
                "");
        }
    }
}

} // namespace
