// How a run of isp_table ends, the same for every verb. The verbs decide
// it; the library they call says what happened (a table read or not, a
// line that answers or none) and never names a process status.
#pragma once

/// The exit status of a run, as isp_table(1) lists them per verb.
enum class ExitStatus {
  /// The verb did its work and has nothing against its inputs.
  kClean = 0,
  /// It did its work, and the answer is the one a script stops at: a
  /// table with errors, a SIM whose profile changes, no line or row
  /// that answers, no index left for a public row.
  kFindings = 1,
  /// It could not do its work: a usage error, an input that cannot be
  /// read or an empty table, output that cannot be written.
  kTrouble = 2,
};
