// Names of the messages of the message table that the program shows by id.
#pragma once

#include <cstdint>

namespace krv {

enum MessageId : int32_t {
  kMsgUnknownArgument = 102,         // an unknown switch on the command line
  kMsgAccessAlreadyRunning = 105,    // go on although an Access application runs?
  kMsgCommandLineFailed = 109,       // starting Access failed
  kMsgDelayMissing = 120,            // "/D" without a usable number of seconds
  kMsgFileNotFound = 132,            // a sibling program is missing
  kMsgCommandLine = 133,             // test mode: the masked command line
  kMsgUpgradeStartFailed = 134,      // hand-over to the backend upgrade program failed
  kMsgEvaluatingOptions = 135,       // progress line of the command-line step
  kMsgTestModeCaption = 140,         // caption of the test-mode box
  kMsgSecondInstance = 145,          // the starter runs already
  kMsgScreenTooSmall = 146,          // below 1024 x 768
  kMsgAdminToolsStartFailed = 153,   // hand-over to the administrator tools failed
  kMsgCompressorStartFailed = 171,   // hand-over to the compressor failed
  kMsgUpgradeOffer = 182,            // the backend is older than the front end needs
  kMsgPatchStartFailed = 185,        // hand-over to the patch program failed
  kMsgPatchNeeded = 186,             // the patch program must run (user)
  kMsgVersionInfoStartFailed = 192,  // hand-over to the version information failed
  kMsgAdminRightsNeeded = 204,       // the function needs administrator rights
  kMsgComponentNotRegistered = 207,  // a component of the suite is not registered
  kMsgComponentNotCreated = 208,     // a component of the suite could not be created
  kMsgPatchNeededAdmin = 212,        // the patch program must run (administrator)
  kMsgAccessMissing = 217,           // no usable Access: the administrator tools set it up
  kMsgAdminToolsAccessFailed = 219,  // starting the administrator tools for Access failed
  kMsgAdminToolsRunning = 226,       // the administrator tools run
  kMsgFileMissing = 500,             // a file of the suite is missing
  kMsgWrongLibrary = 111,            // the library database has another version than the front end needs
  kMsgVersionTargetActual = 113,     // "(Soll: ## / Ist: ##)"
  kMsgCompressRecommended = 170,     // the backend has grown: compress it now?
  kMsgSizeGrowth = 172,              // "von ## auf ##": old and new size
  kMsgBackendFragmented = 179,       // the backend must be compressed
  kMsgReplicaExpires = 196,          // the replica set expires soon
  kMsgCompressAskAgain = 203,        // show the recommendation again next time?
  kMsgUpgradePredecessor = 223,      // empty backend and a predecessor installation: upgrade?
  // Automatic backup
  kMsgBackupFolderMissingAdmin = 114,     // the target folder does not exist: correct it?
  kMsgBackupNoSpace = 115,                // too little space on the target drive
  kMsgBackupOffNoFolder = 125,            // automatic backups are switched off now
  kMsgCheckingAutoBackup = 138,           // progress line of the backup step
  kMsgBackupMade = 149,                   // the copy was made
  kMsgBackupAbortedOff = 151,             // aborted, and automatic backups switched off
  kMsgBackupRunning = 154,                // progress line while the copy is made
  kMsgBackupFolderIsBackendFolder = 183,  // the target folder is the backend's own
  kMsgBackupFolderHoldsBackend = 184,     // the target folder holds a backend
  kMsgBackupFolderNotWritable = 209,      // no write access to the target folder
  kMsgBackupFolderMissing = 210,          // the target folder does not exist
  kMsgNamedFileNotFound = 213,            // a named file was not found
  kMsgFunctionAborted = 221,              // the function is aborted
  kMsgBackupNeedsAdmin = 222,             // changing the backup settings needs an administrator
  // The update reminder and the component check.
  kMsgUpdateReminder = 193,         // the last online update is old: start the version information?
  kMsgUpdateReminderOff = 194,      // switch the update reminder off?
  kMsgUpdateReminderNoAdmin = 205,  // the last online update is old (user without administrator rights)
  kMsgComponentsOutdated = 224,     // ## system components are outdated
  kMsgComponentsConfirm = 225,      // OK starts despite the conflict
};

}  // namespace krv
