// Operator names as the databases write them: the words of a provider or
// carrier name and of an APN, compared so that "AT&T", "ATT" and "att.mvno"
// meet on one word.
#pragma once

#include <string>
#include <vector>

/// The words of a provider or carrier name, lower case: "&", "'" and "-"
/// join ("AT&T" is "att"), any other ASCII punctuation or space separates,
/// bytes above 127 belong to words. Words that name a service ("internet",
/// "mms", "wap") are dropped, and so are words of one or two letters after
/// the first (country codes). A word followed by a word of one letter is
/// also given joined to it: "CELL C" gives "cell" and "cellc", so that it
/// meets "Cell-c" ("cellc"), and "T-Mobile A" still meets "T-Mobile".
std::vector<std::string> name_words(const std::string &name);

/// The words a name can stand for its operator by: its first word and,
/// when a word of one letter follows it, the two joined ("cell" and "cellc"
/// for "CELL C INTERNET"); and for a first word of one letter or of another
/// script, the first word in brackets ("v" and "vodafone" for "V! (Vodafone
/// Idea)").
std::vector<std::string> operator_words(const std::string &name);

/// Whether an APN, by its own words, its name or its stated uses, serves
/// something else than its operator's data: WAP, MMS, IMS ("paygwap",
/// "vzwims", "portalnmms"), roaming ("lte-roaming.example"), a portal,
/// M2M or IoT, tethering or firmware updates, or pay-by-time passes.
bool service_apn(const std::string &name, const std::string &apn, const std::string &usage);

/// The operator a name stands for: its first word, or "" when it has none.
/// "Orange Internet" and "Orange" are one operator; "b-mobile(ドコモ)" is
/// b-mobile's, which names its host in brackets.
std::string operator_word(const std::string &name);

/// The labels of an APN that can spell a name ("vodafone" in
/// "pp.vodafone.co.uk"): split at every ASCII byte that is no letter or
/// digit (".", "-", "_", "&", a space...), lower case, without service
/// words and labels of one or two characters (country codes, "co", "ne").
std::vector<std::string> apn_words(const std::string &apn);

/// Whether a name or an APN says WAP or MMS: "wap" or "mms" as a word of
/// the name ("Orange WAP"), or at the start or end of a label of the APN
/// ("paygwap", "mms.example"). Such an APN listed as an internet APN is a
/// service's, when the same operator lists another for the network.
bool labelled_wap_or_mms(const std::string &name, const std::string &apn);

/// The parts of an APN that name its operator: each label but the last,
/// lower case, without a service word at either end ("rcom" for "rcomnet"
/// and "rcomwap", "3g" for "3gnet" and "3gwap"), leaving out labels that
/// are service words ("internet", "com") and those under three characters
/// ("co", the "sp" of "sp.telus.com") unless the label is the whole APN
/// ("ct" of "ctnet").
std::vector<std::string> apn_stems(const std::string &apn);

/// `apn` as APNs are compared: without regard to ASCII case, as the
/// network resolves an APN as a DNS name ("Internet" is "internet").
std::string folded_apn(const std::string &apn);

/// Whether one spelling of an APN is the other mistyped: two neighbouring
/// letters swapped ("utms" for "umts"), in APNs of four characters or more.
bool swapped_letters(const std::string &a, const std::string &b);
