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

// ---- Wizard ---------------------------------------------------------------

// ---- Package and report ---------------------------------------------------

// ---- Update engine --------------------------------------------------------

// ---- Database -------------------------------------------------------------

}  // namespace qv::texts
