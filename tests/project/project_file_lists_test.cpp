#include "errors/runtime_error.h"
#include "project/project_file_lists.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using vb::SourceKind;

TEST(SourceKind, GroupCaptionsNameEachKindAndLeadBackToIt) {
    std::vector<std::string_view> captions;
    for (const SourceKind kind : vb::kSourceKinds) {
        captions.push_back(vb::GroupCaptionOf(kind));
        EXPECT_EQ(vb::KindOfGroupCaption(vb::GroupCaptionOf(kind)), kind);
    }
    EXPECT_EQ(captions, (std::vector<std::string_view>{"Formulare", "Module", "Klassenmodule",
                                                       "Benutzersteuerelemente", "Eigenschaftenseiten"}));
    // Exact and case-sensitive.
    for (const std::string_view other : {"formulare", "Formulare ", "Formular", ""})
        EXPECT_EQ(vb::KindOfGroupCaption(other), std::nullopt) << other;
}

TEST(ProjectFileLists, EntriesAreTheFirstCountOnesAndACountBeyondTheListIsError9) {
    vb::ProjectFileLists lists;
    lists.Modules = {"a.bas", "b.bas", "c.bas"};
    lists.ModuleCount = 2;
    const auto entries = lists.entries(SourceKind::Module);
    EXPECT_EQ(std::vector<std::string>(entries.begin(), entries.end()),
              (std::vector<std::string>{"a.bas", "b.bas"}));
    EXPECT_TRUE(lists.entries(SourceKind::Form).empty());

    for (const vb::Int16 count : {vb::Int16{4}, vb::Int16{-1}}) {
        lists.ModuleCount = count;
        try {
            lists.entries(SourceKind::Module);
            ADD_FAILURE() << "count " << count << " was read";
        } catch (const vb::RuntimeError& e) {
            EXPECT_EQ(e.number(), vb::err::SubscriptOutOfRange);
        }
    }
}

} // namespace
