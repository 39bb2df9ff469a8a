// One run of isp_pick: settle the operator identity, then apply its profile.
#pragma once

/// Takes the identity from the IMSI capture, or else from the CDMA SID,
/// skips an identity the memo already holds, looks the profile up and writes
/// it into the store. Returns 1 when a profile was applied or the identity
/// was unchanged, -1 otherwise: no profile, or a store command that could
/// not be started (the memo is then removed, so the next run tries again).
int auto_select();
