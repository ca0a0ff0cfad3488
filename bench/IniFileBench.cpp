#include "common/IniFile.h"

#include <benchmark/benchmark.h>

#include <QStringList>

namespace {

using quorx::IniFile;

const QStringList& Stems()
{
    static const QStringList stems = {
        QStringLiteral("Programme"),     QStringLiteral("Chaine"),        QStringLiteral("Repetition"),
        QStringLiteral("Commande"),      QStringLiteral("RepetitionFin"), QStringLiteral("DateDebut"),
        QStringLiteral("DateFin"),       QStringLiteral("HeureDebut"),    QStringLiteral("HeureFin"),
        QStringLiteral("Fichier"),       QStringLiteral("Fermer"),        QStringLiteral("Eteindre"),
        QStringLiteral("Veille"),        QStringLiteral("VeillePro"),     QStringLiteral("Actif"),
        QStringLiteral("Prioritaire"),   QStringLiteral("EPG"),           QStringLiteral("DateStop"),
        QStringLiteral("Etat"),          QStringLiteral("AjouterDate"),   QStringLiteral("AjouterHeure"),
        QStringLiteral("AjouterChaine"),
    };
    return stems;
}

// A full schedule: 256 recordings of 22 keys each in one section.
IniFile FullSchedule(int recordings)
{
    IniFile ini;
    const QString section = QStringLiteral("Programmes");
    ini.WriteInteger(section, QStringLiteral("NbProgrammes"), recordings);
    for (int n = 1; n <= recordings; ++n) {
        for (const QString& stem : Stems())
            ini.WriteString(section, stem + QString::number(n),
                            QStringLiteral("Journal télévisé de 20 h %1").arg(n));
    }
    return ini;
}

void BM_LoadSchedule(benchmark::State& state)
{
    const QByteArray bytes = FullSchedule(static_cast<int>(state.range(0))).ToBytes();
    for (auto _ : state) {
        IniFile ini;
        ini.LoadFromBytes(bytes);
        benchmark::DoNotOptimize(ini);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_LoadSchedule)->Arg(256);

void BM_ReadEveryKey(benchmark::State& state)
{
    const int recordings = static_cast<int>(state.range(0));
    const IniFile ini = FullSchedule(recordings);
    const QString section = QStringLiteral("programmes");
    for (auto _ : state) {
        qsizetype total = 0;
        for (int n = 1; n <= recordings; ++n)
            for (const QString& stem : Stems())
                total += ini.ReadString(section, stem + QString::number(n)).size();
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_ReadEveryKey)->Arg(256);

void BM_WriteEveryKeyAndSerialise(benchmark::State& state)
{
    const int recordings = static_cast<int>(state.range(0));
    IniFile ini = FullSchedule(recordings);
    const QString section = QStringLiteral("Programmes");
    for (auto _ : state) {
        for (int n = 1; n <= recordings; ++n)
            for (const QString& stem : Stems())
                ini.WriteString(section, stem + QString::number(n), QStringLiteral("Film"));
        benchmark::DoNotOptimize(ini.ToBytes());
    }
}
BENCHMARK(BM_WriteEveryKeyAndSerialise)->Arg(256);

// The schedule emptied key by key: the worst case for deletion.
void BM_DeleteEveryKey(benchmark::State& state)
{
    const int recordings = static_cast<int>(state.range(0));
    const IniFile full = FullSchedule(recordings);
    const QString section = QStringLiteral("Programmes");
    for (auto _ : state) {
        state.PauseTiming();
        IniFile ini = full;
        state.ResumeTiming();
        for (int n = 1; n <= recordings; ++n)
            for (const QString& stem : Stems())
                ini.DeleteKey(section, stem + QString::number(n));
        benchmark::DoNotOptimize(ini);
    }
}
BENCHMARK(BM_DeleteEveryKey)->Arg(256)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
