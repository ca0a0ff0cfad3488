#pragma once

#include "common/DateTime.h"

#include <QString>

#include <array>
#include <cstdint>

namespace quorx {

// The core settings of Config.Ini held in memory for the whole run. Member names are the keys'
// names (section Config unless noted); the defaults here are the documented defaults, and the
// settings store reads and writes every key through one table built on these members.
struct Settings
{
    // Group one, read before the schedule.
    qint64 TotalGo = 0;
    std::int32_t Couleur = static_cast<std::int32_t>(0xFF00001Cu);
    bool AutoForbidSuspend = true;
    DateTime DelaiDeb;                                  // margin, with seconds
    DateTime DelaiFin;                                  // margin, with seconds
    DateTime DelaiArret = DateTime::FromTime(0, 15);    // hh:nn
    int DelaiAtt = 15;                                  // seconds
    bool DetectRecordingErrors = true;

    // Group two.
    bool HideDisabledPrograms = false;       // [XMLTV]
    bool AlwaysShowRecordingProgram = true;  // [XMLTV]
    bool AlwaysShowNextProgram = true;       // [XMLTV]
    bool AlwaysShowErrorProgram = true;      // [XMLTV]
    int JournalError = 0;                    // [XMLTV]
    bool ReplaceXMLTV = true;                // [XMLTV]
    bool AutoDownload = false;               // [XMLTV]
    bool AutoDownloadImg = false;            // [XMLTV]
    bool AutoXMLTV = false;                  // [XMLTV]
    bool ChannelWaitRec = false;
    bool Fullscreen = false;
    bool NetUpdate = true;
    bool NetInfos = true;
    bool EPGKirvel = false;
    bool EPGStandard = false;
    bool EPGVerify = true;
    bool DateLetters = false;
    bool QuickEnterChannels = true;
    bool QuickEnterDate = true;
    bool QuickEnterTime = true;
    DateTime NoSoundStart = DateTime::FromTime(22, 0);
    DateTime NoSoundEnd = DateTime::FromTime(8, 0);
    bool NoSoundStartEnd = false;
    DateTime DelaiFermeture;
    DateTime InterdireDebut;
    DateTime InterdireFin;
    bool Interdire = false;
    bool InterdireToujours = false;
    bool CouleurVariation = true;
    bool DoNotDecodeMPEG2 = false;
    bool Calendrier = false;
    bool AideContextuelle = true;
    bool AutoFavorites = false;
    QString Langue;

    // Group three, read after the schedule.
    bool Majuscules = true;
    int EtatZomvara = 0;     // 6 minimised, 3 maximised, other values normal
    bool Actif = true;       // recording switched on
    bool NePasEcraser = true;
    bool RepPrioritaire = false;
    bool SansAnnee = false;
    bool OffQuandDernier = false;
    bool ProtVeille = true;
    std::array<int, 5> Colonne{-1, -1, -1, -1, -1}; // -1: a fifth of ColonnesTotal
    int ColonnesTotal = -1;                          // -1: the list width
    bool ForcerRedem = false;
    int XXListe = -1; // -1: the designed width
    int YYListe = -1; // -1: the designed height
    int XListe = -1;  // -1: centred on the screen
    int YListe = -1;
    int EtatListe = 0; // 0 normal, 2 maximised (1 reads as normal)
    bool Minimized = false;
    int Tri = 0;
    int Afficher = 0;
    int TailleFonte = 8;
    QString NomInstance;
    bool SignalSonore = true;
    bool SignalSonoreInterface = true;
    QString CheminZomvara;
};

} // namespace quorx
