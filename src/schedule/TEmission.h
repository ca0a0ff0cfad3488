#pragma once

#include "common/DateTime.h"

#include <QString>

#include <cstdint>

namespace quorx {

// Days of a repeating recording, one bit each, Monday first.
enum WeekdayBit : std::uint8_t {
    Lundi = 1 << 0,
    Mardi = 1 << 1,
    Mercredi = 1 << 2,
    Jeudi = 1 << 3,
    Vendredi = 1 << 4,
    Samedi = 1 << 5,
    Dimanche = 1 << 6,
};

// The bit of a day given as 1 = Monday ... 7 = Sunday.
constexpr std::uint8_t WeekdayBitOf(int dayOfWeek) { return static_cast<std::uint8_t>(1u << (dayOfWeek - 1)); }

// One scheduled recording: its stored fields, then the run-time state of its next occurrence.
// Every field starts out as a cleared record has it.
struct TEmission
{
    QString Programme;
    QString Fichier;
    QString Chaine;
    std::uint8_t Repetition = 0; // WeekdayBit set; empty = one-off
    DateTime RepetitionFin;      // date; 0 = no end
    DateTime DateDebut;          // date
    DateTime DateFin;            // date
    DateTime DateStop;           // date of the occurrence Etat and InactifPro refer to
    DateTime HeureDebut;         // time of day, hours and minutes
    DateTime HeureFin;           // time of day, hours and minutes
    DateTime NextStart;          // run time: start of the next occurrence, margin subtracted
    DateTime EffectiveStart;     // run time: the start the scheduler acts on
    bool Fermer = false;
    bool Eteindre = false;
    bool Veille = false;
    bool VeillePro = false;
    bool AjouterDate = false;
    bool AjouterHeure = false;
    bool AjouterChaine = false;
    std::int32_t CutAtStart = 0; // run time: minutes cut from the start; -1 = all of it
    std::int32_t CutAtEnd = 0;   // run time: minutes cut from the end
    bool Selected = false;       // run time
    std::int32_t RecordId = 0;   // run time
    std::int8_t Etat = 0;        // 0 idle, 1 recording, 2 recorded, 3 over otherwise
    std::int16_t GridRow = 0;    // run time: list row, -1 when not shown
    bool Erreur = false;
    bool Actif = false;
    bool EPG = false;
    bool InactifPro = false;
    bool Prioritaire = false;
    QString Commande;

    bool IsRepeating() const { return Repetition != 0; }
    bool RepeatsOn(int dayOfWeek) const { return (Repetition & WeekdayBitOf(dayOfWeek)) != 0; }

    // Everything back to the cleared state, except EffectiveStart, which clearing leaves alone.
    void Clear();

    // "Programme - Chaine", or the channel alone when the programme is blank.
    QString Title() const;
};

} // namespace quorx
