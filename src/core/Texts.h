#pragma once
// Every text the user can see, in one place (Windows-1252 once compiled).
// Internal English errors stay at the place that raises them. Keep each
// subsystem's texts in its own section below.

namespace qv::texts {

// ---- System errors and common dialogs ------------------------------------
inline constexpr char kSystemErrorCode[] = "Erreur système.  Code : %d.";
inline constexpr char kSystemCallFailed[] =
    "Un appel à une fonction du système d'exploitation a échoué";
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

// ---- Wizard ---------------------------------------------------------------

// ---- Package and report ---------------------------------------------------

// ---- Update engine --------------------------------------------------------

// ---- Database -------------------------------------------------------------

}  // namespace qv::texts
