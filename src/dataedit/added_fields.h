#pragma once

#include <string>
#include <vector>

#include "dataedit/data_edit_settings.h"

namespace ravelfin {

enum class AddedFieldResult {
    kDone,
    kTooManyFields,  // eight exist already
    kEmptyField,     // nothing entered
    kInUse,          // a formula refers to this field or a later one
    kNoSuchField,    // position outside the list
};

/// Appends `field` (its first 8 bytes, as many as the entry box holds) to a working copy
/// of the added fields. Returns kDone, kTooManyFields or kEmptyField; on refusal the list
/// is unchanged.
AddedFieldResult AddAddedField(std::vector<Bytes>& fields, const Bytes& field);

/// True when a stored formula of `settings`, or `workingSequence` when given, holds an
/// added-field code (track 0) whose number is `position` or more: deleting the field would
/// shift those fields and change what the formula sends.
bool IsAddedFieldInUse(int position, const DataEditSettings& settings,
                       const Bytes* workingSequence);

/// Removes the field at `position` from a working copy; later fields move up. Returns
/// kDone, kNoSuchField or kInUse (see `IsAddedFieldInUse`); on refusal nothing changes.
AddedFieldResult DeleteAddedField(std::vector<Bytes>& fields, int position,
                                  const DataEditSettings& settings, const Bytes* workingSequence);

/// The message a dialog shows for a refusal; "" for kDone and kNoSuchField.
std::string AddedFieldMessage(AddedFieldResult result);

}  // namespace ravelfin
