#pragma once
// Every text written for the user, in one place (Windows-1252 once
// compiled): messages, captions, report lines, print-job names, and the
// untranslated labels inside messages. Internal errors (short English
// literals naming a programming or package fault, such as "Cannot find ",
// and bare numeric codes) stay at the place that raises them. Keep each
// subsystem's texts in its own section below.

namespace qv::texts {

// ---- System errors and common dialogs ------------------------------------
inline constexpr char kSystemErrorCode[] = "Erreur système.  Code : %d.";
inline constexpr char kSystemCallFailed[] =
    "Un appel à une fonction du système d'exploitation a échoué";
inline constexpr char kNoSystemText[] = "code : ";  // then the code, when Windows has no text
inline constexpr char kUnknownError[] = "Unknown error";  // an error that carries no message
inline constexpr char kOutOfMemory[] = "Mémoire insuffisante.";
inline constexpr char kCaptionWarning[] = "Avertissement";
inline constexpr char kCaptionError[] = "Erreur";
inline constexpr char kCaptionInformation[] = "Information";
inline constexpr char kCaptionConfirmation[] = "Confirmation";
inline constexpr char kButtonYes[] = "&Oui";
inline constexpr char kButtonNo[] = "&Non";
inline constexpr char kButtonOk[] = "OK";
inline constexpr char kButtonCancel[] = "Annuler";

// ---- Platform: registry, files -------------------------------------------
inline constexpr char kRegistryReadFailed[] = "Lecture d'une valeur de registre impossible : ";
inline constexpr char kRegistryWriteFailed[] = "Écriture d'une valeur de registre impossible : ";
inline constexpr char kCheckAccessRights[] = "Veuillez contrôler vos droits d'accès.";
inline constexpr char kRegistryBadType[] = "Type de données incorrect pour '%s'";
inline constexpr char kRegistryCreateKeyFailed[] = "Echec à la création de la clé %s";
inline constexpr char kRegistrySetDataFailed[] = "Echec à la définition des données pour '%s'";
inline constexpr char kNotAnInteger[] = "'%s' n'est pas un nombre entier valide";
inline constexpr char kFileCreateFailed[] = "Impossible de créer le fichier %s";
inline constexpr char kFileWriteFailed[] = "Erreur d'écriture dans le fichier %s";
inline constexpr char kFileOpenFailed[] = "Impossible d'ouvrir le fichier %s";
inline constexpr char kFileReadFailed[] = "Erreur de lecture du fichier %s";

// ---- Wizard ---------------------------------------------------------------
inline constexpr char kWizardCaption[] = "Mise à jour Quorvex";
inline constexpr char kActionBack[] = "< Précédant";
inline constexpr char kActionCancel[] = "Annuler";
inline constexpr char kNextCaption[] = "Suivant >";
inline constexpr char kStartCaption[] = "Démarrer";
inline constexpr char kQuitCaption[] = "Quitter";
inline constexpr char kVersionLabel[] = "Version : ";
inline constexpr char kAskCancelUpdate[] = "Voulez-vous annuler cette mise à jour";
inline constexpr char kInternalCorrectionsOnly[] =
    "Cette mise à jour comporte uniquement des corrections internes.";
inline constexpr char kWelcomeUpdates[] = "Cet assistant va mettre à jour ";
inline constexpr char kWelcomeNoDataDeleted[] = "Aucune donnée existante ne sera supprimée.";
inline constexpr char kWelcomeCloseApplications[] =
    "Veuillez fermer les applications Quorvex sur tous les postes de travail avant "
    "d'installer cette mise à jour.";
inline constexpr char kWelcomePlaceholder[] = "Info";  // until the welcome text is set
inline constexpr char kListOfChanges[] = "La liste des modifications";  // also its print job
inline constexpr char kInstallationReport[] = "Rapport d'installation";
inline constexpr char kPrintHint[] = "Imprimer";
inline constexpr char kReportPrintJob[] = "Update report";
inline constexpr char kNoPrinter[] = "Aucune imprimante n'est disponible.";
inline constexpr char kPrintFailed[] = "L'impression a échoué.";
inline constexpr char kRunHeader[] = "Mise à jour : %s ";
inline constexpr char kResultOk[] = "La mise à jour est terminée avec succès.";
inline constexpr char kResultKo[] = "La mise à jour a échouée !";
inline constexpr char kResultNot[] = "La mise à jour n'a pas été effectuée.";
inline constexpr char kResultWarning[] =
    "La mise à jour a été effectuée mais avec des avertissements !";

// ---- Unattended runs: switches, log file, answer policy -------------------
inline constexpr char kCommandLineHelp[] =
    "Paramètres de la ligne de commande :\r\n"
    "\r\n"
    "/SILENT : sans les pages de l'assistant, une petite fenêtre montre le rapport "
    "et se ferme à la fin.\r\n"
    "/VERYSILENT : sans aucune fenêtre.\r\n"
    "/SUPPRESSMSGBOXES : (avec /SILENT ou /VERYSILENT) aucune boîte de message "
    "n'attend de réponse. Chaque question reçoit la réponse qui garde ce qui est "
    "installé, chaque message est écrit dans le rapport, un choix de dossier ou de "
    "fichier est annulé.\r\n"
    "/REPLACESAME : (avec /SUPPRESSMSGBOXES) un fichier installé identique est "
    "tout de même remplacé.\r\n"
    "/LOG=\"fichier\" : écrit le rapport dans ce fichier texte (UTF-8), "
    "remplacé s'il existe.\r\n"
    "/? : affiche cette aide.\r\n"
    "\r\n"
    "Codes de sortie : 0 terminée avec succès, 1 erreur, 2 échouée, 3 non effectuée, "
    "4 effectuée avec des avertissements, 5 aucun produit connu, 6 annulée, "
    "7 déjà en cours d'exécution, 8 ligne de commande incorrecte, "
    "9 fichier journal impossible à créer.";
inline constexpr char kBadCommandLine[] = "Paramètre de la ligne de commande incorrect : %s";
inline constexpr char kLogNotCreated[] = "Impossible de créer le fichier journal %s";
inline constexpr char kAutomaticAnswerYes[] = "Réponse automatique : Oui";
inline constexpr char kAutomaticAnswerNo[] = "Réponse automatique : Non";
inline constexpr char kFolderChooserCancelled[] = "%s : annulé (exécution sans utilisateur).";
inline constexpr char kFileChooserCancelled[] =
    "Choix d'un fichier : annulé (exécution sans utilisateur).";

// ---- Package and report ---------------------------------------------------
inline constexpr char kReportFileDeleted[] = "Fichier %s est supprimé.";
inline constexpr char kReportTheFile[] = "Le fichier ";
inline constexpr char kReportUpToDate[] = "est à jour : il n'est pas remplacé.";
inline constexpr char kReportNotReplaced[] = "n'est pas remplacé !!!";
inline constexpr char kReportCopyOf[] = "Copie de ";
inline constexpr char kReportCopyTo[] = "vers ";
// After the copy lines of a listed file that was not copied, with the reason
// on the next line.
inline constexpr char kReportCopyFailed[] = "Le fichier %s n'a pas pu être copié :";
inline constexpr char kReportNotPackaged[] = "Ce fichier n'est pas dans la mise à jour.";
// Every temporary name drawn for a packaged file was someone else's file.
inline constexpr char kTempNamesTaken[] =
    "Impossible de créer un fichier temporaire dans %s : les %d noms essayés existent déjà.";
// A failed copy's message: labels, not translated.
inline constexpr char kCopySourceLabel[] = "Source: ";
inline constexpr char kCopyTargetLabel[] = "Target: ";
inline constexpr char kCopyErrorLabel[] = "Error: ";

// ---- Update engine --------------------------------------------------------
inline constexpr char kSeveralFoldersFound[] =
    "%d répertoires %s ont été trouvés, veuillez choisir l'emplacement correct.";
inline constexpr char kFolderNotFound[] = "Répertoire %s pas trouvé.";
inline constexpr char kProgramNotFound[] = "Programme %s pas trouvé.";
inline constexpr char kPleaseShowLocation[] = "Veuillez indiquer son emplacement.";
inline constexpr char kSelectFolder[] = "Séléctionner le répertoire ";
inline constexpr char kInstalledFileMissing[] = "Fichier pas trouvé : %s";
inline constexpr char kInstalledIsNewer1[] = " présent sur votre système est plus récent";
inline constexpr char kInstalledIsNewer2[] = "que celui qui est contenu dans cette mise à jour.";
inline constexpr char kInstalledIsNewer3[] = "Voulez-vous installer un ancien fichier ?";
inline constexpr char kInstalledIsSame1[] = " présent sur votre système est à jour.";
inline constexpr char kInstalledIsSame2[] = "Voulez-vous tout de même effectuer la mise à jour ?";
inline constexpr char kUpdateError[] = "Une erreur s'est produite lors de la mise à jour du %s";
inline constexpr char kInstallationNotDone[] =
    "L'installation de %s n'a certainement pas été effectuée !!!";
inline constexpr char kFileVersionIncompatible[] = "Version du fichier inconnue ou incompatible.";

// ---- Company list ----------------------------------------------------------
inline constexpr char kCompanyDialogCaption[] = "Sélection de la société";
inline constexpr char kCompanyLabel[] = "Société : ";
inline constexpr char kCompanyInfoButton[] = "Info";
inline constexpr char kCompanyListInfo[] = "Liste des sociétés :";  // then CR LF and the file

// ---- Database -------------------------------------------------------------
inline constexpr char kClientVersionUnknown[] =
    "La version du client Firebird utilisé est inconnue du programme. Par sécurité, aucune "
    "connexion à la base de données ne sera établie.";
inline constexpr char kClientServerMismatch[] =
    "La version du client Firebird utilisé ne correspond pas à celle du serveur Firebird. Par "
    "sécurité, aucune connexion à la base de données ne sera établie.";
inline constexpr char kDatabaseNameMissing[] =
    "Le nom de la base de données manque.\r\nVeuillez compléter la configuration du programme.";
inline constexpr char kDatabaseIncompatible[] =
    "La base de données n'est pas compatible avec le programme!";
inline constexpr char kDiskSpaceUnknown[] =
    "Le serveur Firebird n'a pas pu déterminer la place restante sur le disque de la base de "
    "données!";
inline constexpr char kDiskSpaceCritical[] =
    "Il n'y a plus assez de place sur le disque de la base de données!";
inline constexpr char kDiskSpaceLow[] =
    "L'espace disque pour la base de données est faible!\r\nVeuillez faire de la place sur le "
    "disque.";
inline constexpr char kMegabytesSuffix[] = " Mb";
// Labels inside the refusals above, not translated.
inline constexpr char kDatabaseLabel[] = "Database : ";
inline constexpr char kDatabaseVersionLabel[] = "Version : ";
inline constexpr char kClientLabel[] = "Client : ";
inline constexpr char kServerLabel[] = "Server : ";
// One box per query still registered when the database manager goes.
inline constexpr char kDatasetNotReleased[] = "Dataset NOT RELEASED !\r\n";

// ---- Print-parameter import -----------------------------------------------
// The description given to a product database opened for the import.
inline constexpr char kDatabaseDescription[] = "Base de données";
// A list's report line: the prefix, the name in double quotation marks, the
// outcome.
inline constexpr char kPrintParamsPrefix[] = "Les paramètres pour l'impression : ";
inline constexpr char kPrintParamsUpdated[] = " ont été mise à jour.";
inline constexpr char kPrintParamsAdded[] = " ont été ajoutés.";
inline constexpr char kCompanyListsTitle[] = "Mise à jour de listes pour la société ";
inline constexpr char kCompanyNotFound[] =
    "La société %s n'est pas trouvé, mise à jour des listes non effectuée.";
// The company of the empty name.
inline constexpr char kDefaultCompany[] = "Default";

}  // namespace qv::texts
