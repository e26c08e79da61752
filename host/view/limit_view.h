#pragma once
// What a plug-in tells the host's limit view before handing it the limits:
// one row per measurement key of the test type; and, before the view's window
// goes, that an open edit ends.

#include <string>

namespace host {

class ILimitView {
public:
    virtual ~ILimitView() = default;
    // A row: the measurement key, its description and unit as shown, and the
    // expressions the row's bounds may use ("<op>X+Y;Y</op>"; "" for none).
    virtual void AddRow(const std::string& key, const std::string& description, const std::string& unit,
                        const std::string& operators) = 0;
    // Ends an open edit as a focus move does (committed or refused).
    virtual void EndEdit() {}
};

}  // namespace host
