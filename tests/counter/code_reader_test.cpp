#include "counter/code_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace {

using counter::CodeReader;
using counter::CompileConstants;
using counter::MemberCode;

const CompileConstants kNoConstants;

// A module's code: the attribute line, then `lines` from line 2 on.
MemberCode ModuleCode(const std::vector<std::string_view>& lines,
                      const CompileConstants& project = kNoConstants) {
    CodeReader reader(false, project);
    reader.add("Attribute VB_Name = \"M\"");
    for (const std::string_view line : lines)
        reader.add(line);
    return reader.finish();
}

// name line lines code complexity [unclosed], per procedure.
std::string Summary(const MemberCode& code) {
    std::string out;
    for (const counter::Procedure& p : code.procedures)
        out += std::string(counter::ProcedureKindName(p.kind)) + " " + p.name + " " + std::string(p.scope) +
               (p.isStatic ? " Static" : "") + " " + std::to_string(p.line) + " " + std::to_string(p.lines) +
               " " + std::to_string(p.code) + " " + std::to_string(p.complexity) +
               (p.unclosed ? " offen" : "") + "\n";
    return out;
}

TEST(CodeReader, DecisionPointsOutsideStringsAndComments) {
    const MemberCode code = ModuleCode({
        "Private Static Function F$(ByVal a As Long, _", // 2: a header continued
        "    ByVal b As Long) As String",
        "  If a Then b = 1 Else b = 2",                    // one-line If: 1
        "  s = \"If \"\"For\"\" ' Rem\": If b Then c = 1", // string with "" and ', then a second statement: 1
        "  Select Case a",
        "  Case 1, 2: x = 1", // 1
        "  Case Else",
        "  End Select",
        "  Open \"f\" For Input As #1",
        "  For i = 1 To 3: If i Then Exit For", // For 1, If 1
        "  Next",
        "  Do While a: Loop Until b", // 2
        "  While c: Wend",            // 1
        "  ' If x Then _",
        "  continued comment For While",
        "  Rem If x Then",
        "  x.If = y.For: Call Foo(a:=1): If z Then", // member names and a named argument: If 1
        "  ElseIf y Then",                           // 1
        "  End If",
        "",
        "End Function",
    });
    // 1 + 1 + 1 + 1 + 2 + 2 + 1 + 1 + 1 = 11; 21 lines, less 2 comment lines and 1 blank line.
    EXPECT_EQ(Summary(code), "Function F$ Private Static 2 21 18 11\n");
}

// Short lines are counted from masks of their bytes, long ones token by token: the same member with every
// line made long by trailing blanks must give the same procedures.
TEST(CodeReader, ShortAndLongLinesAreReadAlike) {
    const std::vector<std::string_view> lines = {
        "Public Function G(a, b) As Long",
        "  If a Then If b Then c = 1 Else d = 2",
        "  x! = 1: If x Then y = 2",
        "  z = rs!Case: w = a.While + b.For",
        "  End$ If: Exit For: Exit Do",
        "  For$ = 1: For i = 1 To 2: Next",
        "  Select Case a: Case .x: Case Else: Case 3: End Select",
        "  Open f For Output As #2: Open g For Random As 3",
        "  Fehler: If a Then: x = 1: Rem If b Then For",
        "  s = \"If: For\" & t: If \"\"\"\" = u Then v = 1",
        "  s = \"unclosed If For",
        "  Call Foo(b:=1, c:=2): Loop Until a: Do While b",
        "  10 If a Then 20",
        "  ElseIf b Then: ElseIf$ = 1: Case$ = 2",
        "  &Case 3: y = &HEnd: If 1.End Then z = 2",                        // literals: If 1
        "  If a Then b = 1: Exit Do: d = 3: e = 4: f = 5: g = 666666: For", // 64 bytes: If 1, For 1
        "  #If VBA7 Then",
        "  If a Then",
        "  #End If",
        "  End If",
        "End Function",
        "Sub H(): If a Then b: End Sub",
        "Sub J()",
        "  If a Then: End Sub",
    };
    std::vector<std::string> padded;
    for (const std::string_view line : lines)
        padded.push_back(std::string(line) + std::string(64, ' '));
    const std::vector<std::string_view> paddedViews(padded.begin(), padded.end());
    const std::string summary = Summary(ModuleCode(lines));
    EXPECT_EQ(summary, Summary(ModuleCode(paddedViews)));
    EXPECT_EQ(summary, "Function G Public 2 21 21 17\nSub H Public 23 1 1 2\nSub J Public 24 2 2 2\n");
}

TEST(CodeReader, ProceduresLeftOpenAndScopes) {
    const MemberCode code = ModuleCode({
        "Public Event Changed(ByVal x As Long)",
        "Sub A()",
        "  x = 1",
        "Friend Property Get B() As Long",
        "Attribute B.VB_UserMemId = 0",
        "End Property",
        "Global Function C(): End Function: Private Property Let D(v)",
        "End Sub", // ends D although it is no End Property
        "End Sub", // ends nothing
        "Property Set E(v)",
        "  ' last",
    });
    EXPECT_EQ(Summary(code), "Sub A Public 3 2 2 1 offen\n"
                             "Property Get B Friend 5 3 2 1\n"
                             "Function C Global 8 1 1 1\n"
                             "Property Let D Private 8 2 2 1\n"
                             "Property Set E Public 11 2 1 1 offen\n");
    ASSERT_EQ(code.events.size(), 1u);
    EXPECT_EQ(code.events[0].name, "Changed");
    EXPECT_EQ(code.events[0].line, 2);
}

TEST(CodeReader, DeclarationsWithAndWithoutAliasAndPtrSafe) {
    const MemberCode code = ModuleCode({
        "Private Declare Function MsgBox Lib \"USER32.DLL\" Alias \"MessageBoxA\" (ByVal h&) As Long",
        "Declare PtrSafe Sub Sleep Lib \"kernel32\" (ByVal ms As Long)",
        "Public Declare Function GetTick& Lib _", "   \"Kernel32.dll\" ()",
        "Static Declare Sub X Lib \"a\" ()", // no declaration
        "Declare Sub Y Lib z ()",            // no library string
    });
    ASSERT_EQ(code.declarations.size(), 3u);
    const auto& [msg, sleep, tick] =
        std::tie(code.declarations[0], code.declarations[1], code.declarations[2]);
    EXPECT_EQ(msg.library + " " + msg.function + " " + std::string(msg.scope), "user32 MessageBoxA Private");
    EXPECT_TRUE(msg.isFunction);
    EXPECT_EQ(sleep.name + " " + sleep.library + " " + sleep.function + " " + std::string(sleep.scope),
              "Sleep kernel32 Sleep Public");
    EXPECT_FALSE(sleep.isFunction);
    EXPECT_EQ(tick.name + " " + tick.library + " " + std::to_string(tick.line), "GetTick& kernel32 4");
}

TEST(CodeReader, ConditionalCompilationReadsTheBranchThatCompiles) {
    CompileConstants project = counter::ProjectConstantsOf("\"DEBUG = 1 : Alt = 0\"");
    const MemberCode code = ModuleCode(
        {
            "#If VBA7 Then",
            "Declare PtrSafe Function A Lib \"x\" () As LongPtr",
            "Sub Wrong64()",
            "#ElseIf Win32 Then",
            "Declare Function B Lib \"x\" () As Long",
            "Sub Right()",
            "#Else",
            "Declare Function C Lib \"x\" () As Long",
            "#End If",
            "  #Const Local = DEBUG And Not ALT",
            "#If Local = -1 Then ' a comment",
            "  If a Then b",
            "#Else",
            "  If c Then d: If e Then f",
            "#End If",
            "#If 1 + 1 Then", // cannot be evaluated: read
            "  If g Then h",
            "#End If",
            "End Sub",
        },
        project);
    ASSERT_EQ(code.declarations.size(), 1u);
    EXPECT_EQ(code.declarations[0].name, "B");
    // Local is 1 And Not 0, that is 1 (bitwise), not -1: the #Else branch, 2 decisions, then 1 more.
    // The lines of branches not taken still count as code lines where they stand.
    EXPECT_EQ(Summary(code), "Sub Right Public 7 14 14 4\n");
}

TEST(CodeReader, OnlyCodeLinesAreRead) {
    // Lines before the first attribute line are no code; without any, every line of a module is.
    CodeReader reader(false, kNoConstants);
    for (const std::string_view line : {"Sub Early()", "Attribute VB_Name = \"M\"", "Sub Late()", "End Sub"})
        reader.add(line);
    EXPECT_EQ(Summary(reader.finish()), "Sub Late Public 3 2 2 1\n");
    CodeReader bare(false, kNoConstants);
    for (const std::string_view line : {"Sub Only()", "End Sub"})
        bare.add(line);
    EXPECT_EQ(Summary(bare.finish()), "Sub Only Public 1 2 2 1\n");
    // A form's object description is no code.
    CodeReader form(true, kNoConstants);
    for (const std::string_view line : {"VERSION 5.00", "Begin VB.Form F", "Sub InDescription()", "End",
                                        "Attribute VB_Name = \"F\"", "Sub Load()", "End Sub"})
        form.add(line);
    EXPECT_EQ(Summary(form.finish()), "Sub Load Public 6 2 2 1\n");
}

TEST(CompileConstants, Conditions) {
    CompileConstants member;
    member.set("Debug", 3);
    const CompileConstants project = counter::ProjectConstantsOf("A = 1 : B = -2 : bad : = 4");
    const auto value = [&](std::string_view text) {
        return counter::EvaluateCondition(text, member, project);
    };
    EXPECT_EQ(value("DEBUG"), 3);
    EXPECT_EQ(value("a = 1 And b < 0"), -1);
    EXPECT_EQ(value("Not (A Or B) Xor True"), ~(1 | -2) ^ -1);
    EXPECT_EQ(value("Win32 <> Win16 And Win64 = 0 And VBA7 = False"), -1);
    EXPECT_EQ(value("&H10 >= 16"), -1);
    EXPECT_EQ(value("1 + 1"), std::nullopt);
    EXPECT_EQ(value("(1"), std::nullopt);
    EXPECT_EQ(value(""), std::nullopt);
    EXPECT_EQ(value(std::string(200, '(') + "1" + std::string(200, ')')), std::nullopt);
}

} // namespace
