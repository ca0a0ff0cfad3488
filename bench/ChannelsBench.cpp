// Reading and matching the viewer's channel files at the sizes of a full satellite installation.
#include "channels/ChannelDatabase.h"
#include "channels/TreeFile.h"
#include "channels/ViewerChannelList.h"

#include <QByteArray>

#include <benchmark/benchmark.h>

using namespace quorx;

namespace {

void PutInt(QByteArray& b, qint32 v)
{
    for (int i = 0; i < 4; ++i)
        b.append(static_cast<char>((quint32(v) >> (8 * i)) & 0xFF));
}

void PutWord(QByteArray& b, quint16 v)
{
    b.append(static_cast<char>(v & 0xFF));
    b.append(static_cast<char>(v >> 8));
}

// Channel i has N2 = i % 7000, N3 = i / 7000 + 1, N6 = i % 97 + 1.
QByteArray Database(int channels)
{
    QByteArray b;
    PutInt(b, 0);
    PutInt(b, 113);
    PutInt(b, 16);
    PutInt(b, channels);
    for (int i = 0; i < channels; ++i) {
        PutWord(b, 146);
        for (const int w : {1, i / 7000 + 1, i % 7000, 0, 0, i % 97 + 1})
            PutWord(b, quint16(w));
        PutInt(b, i);
        QByteArray name = QByteArray("Channel ") + QByteArray::number(i);
        name.resize(128, '\0');
        b.append(name);
    }
    return b;
}

// A favourites list of the given size referring to every k-th channel, in groups of 50.
QByteArray Favourites(int references, int step)
{
    QByteArray b;
    PutInt(b, 0);
    PutInt(b, 107);
    PutInt(b, 104);
    b.append(QByteArray(92, '\0'));
    for (int g = 0; g * 50 < references; ++g) {
        PutInt(b, 0);
        QByteArray name = QByteArray("Group ") + QByteArray::number(g);
        name.resize(128, '\0');
        b.append(name);
        const int count = std::min(50, references - g * 50);
        PutInt(b, count);
        for (int r = 0; r < count; ++r) {
            const int i = (g * 50 + r) * step;
            for (const int w : {0, i / 7000 + 1, i % 7000, 0, 0, i % 97 + 1})
                PutWord(b, quint16(w));
            PutInt(b, 0);
            b.append(QByteArray(17, '\0'));
        }
    }
    return b;
}

void BM_ReadDatabase(benchmark::State& state)
{
    const QByteArray bytes = Database(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(ChannelDatabase::Read(bytes));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ReadDatabase)->Arg(1000)->Arg(10000);

void BM_MatchList(benchmark::State& state)
{
    const QVector<TTree> channels = ChannelDatabase::Read(Database(int(state.range(0)))).entries;
    const QVector<TTree> refs = TreeFile::ReadReferences(Favourites(int(state.range(1)), 3)).entries;
    for (auto _ : state)
        benchmark::DoNotOptimize(ViewerChannelList::Match(refs, channels, true));
    state.SetItemsProcessed(state.iterations() * state.range(1));
}
BENCHMARK(BM_MatchList)->Args({1000, 300})->Args({10000, 3000});

} // namespace

BENCHMARK_MAIN();
