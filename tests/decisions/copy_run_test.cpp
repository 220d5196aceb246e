// The decisions of a drop, answered from a script.
#include "decisions/copy_run.h"

#include <gtest/gtest.h>

#include "catalogues/categories.h"
#include "catalogues/meters.h"
#include "catalogues/provods.h"
#include "catalogues/switch_gr.h"
#include "catalogues/transforms.h"
#include "catalogues/transforms3.h"
#include "support/scripted_copy_questions.h"

namespace kelm {
namespace {

using test::ScriptedCopyQuestions;

TProvod* Line(TProvods& c, const std::string& marka, double f, const std::string& comment = "") {
    TProvod* p = c.NewElement();
    p->Marka = marka;
    p->F = f;
    p->Unom = 10;
    p->AddStr = comment;
    return p;
}

TTransform* Transformer(TTransforms& c, const std::string& marka, const std::string& comment = "") {
    TTransform* t = c.NewElement();
    t->Marka = marka;
    t->Unom = 10;
    t->Snom = 100;
    t->AddStr = comment;
    return t;
}

class CopyRunTest : public ::testing::Test {
protected:
    CopyOutcome Copy(TXMLCustomClass& target, TBaseElement& record) {
        return run.CopyRecord(target, record, record.Marka);
    }
    ScriptedCopyQuestions questions;
    CopyRun run{questions};
};

TEST_F(CopyRunTest, ANewElementIsCopiedAtItsSortedPlace) {
    TTransforms left, right;
    Transformer(right, "A");
    Transformer(right, "C");
    const CopyOutcome outcome = Copy(right, *Transformer(left, "B"));
    ASSERT_NE(outcome.copy, nullptr);
    EXPECT_EQ(outcome.position, 1);
    EXPECT_EQ(right.GetItem(1), outcome.copy);
    EXPECT_EQ(outcome.copy->Added, 1);
    EXPECT_TRUE(questions.asked.empty());
}

TEST_F(CopyRunTest, LinesAndTransformersCompareTheirCommentsToo) {
    TProvods left, right;
    Line(right, "AC-70", 70, "old");
    EXPECT_NE(Copy(right, *Line(left, "AC-70", 70, "new")).copy, nullptr);  // differs in its comment only
    EXPECT_TRUE(questions.asked.empty());

    questions.choices = {{Skip, false}};
    EXPECT_EQ(Copy(right, *Line(left, "AC-70", 70, "new")).copy, nullptr);
    ASSERT_EQ(questions.asked.size(), 1u);
    EXPECT_EQ(questions.asked[0].group, DuplicateGroup::Lines);
}

TEST_F(CopyRunTest, RememberedSkipOfTransformersCoversSwitchingDevicesButNotLines) {
    TTransforms leftT, rightT;
    TTransforms3 leftT3, rightT3;
    TSwitchGRs leftS, rightS;
    TProvods leftL, rightL;
    Transformer(rightT, "T1");
    Transformer(rightT, "T2");
    rightT3.NewElement()->Marka = "T3";
    rightS.NewElement()->Marka = "S";
    Line(rightL, "L", 50);

    questions.choices = {{Skip, true}};
    EXPECT_EQ(Copy(rightT, *Transformer(leftT, "T1")).copy, nullptr);
    EXPECT_EQ(Copy(rightT, *Transformer(leftT, "T2")).copy, nullptr);
    TTransform3* t3 = leftT3.NewElement();
    t3->Marka = "T3";
    EXPECT_EQ(Copy(rightT3, *t3).copy, nullptr);
    TSwitchGR* s = leftS.NewElement();
    s->Marka = "S";
    EXPECT_EQ(Copy(rightS, *s).copy, nullptr);
    EXPECT_EQ(questions.asked.size(), 1u);
    EXPECT_EQ(run.TransformersAnswer, Skip);

    questions.choices = {{Skip, false}};
    Copy(rightL, *Line(leftL, "L", 50));
    EXPECT_EQ(questions.asked.size(), 2u);  // lines still ask
    EXPECT_EQ(questions.asked[1].group, DuplicateGroup::Lines);
}

TEST_F(CopyRunTest, DismissingTheDialogSkipsAndRemembersNothing) {
    TMetersRefs left, right;
    right.NewElement()->Marka = "M";
    TMetersRef* m = left.NewElement();
    m->Marka = "M";
    questions.choices = {{Dismissed, true}, {AddPlainCopy, false}};
    EXPECT_EQ(Copy(right, *m).copy, nullptr);
    EXPECT_FALSE(run.OthersAnswer.has_value());
    const CopyOutcome second = Copy(right, *m);  // asks again
    EXPECT_NE(second.copy, nullptr);
    EXPECT_EQ(right.Count(), 2);
    EXPECT_EQ(questions.asked[0].group, DuplicateGroup::Others);
}

TEST_F(CopyRunTest, RememberedPlainCopyAddsEqualElementsSilently) {
    TMetersRefs left, right;
    right.NewElement()->Marka = "M";
    TMetersRef* m = left.NewElement();
    m->Marka = "M";
    questions.choices = {{AddPlainCopy, true}};
    Copy(right, *m);
    Copy(right, *m);
    EXPECT_EQ(right.Count(), 3);
    EXPECT_EQ(questions.asked.size(), 1u);
}

TEST_F(CopyRunTest, AddingWithACommentStartsFromTheSourcesOwnComment) {
    TTransforms left, right;
    Transformer(right, "T", "c");
    Transformer(right, "T", "taken");
    TTransform* source = Transformer(left, "T", "c");
    questions.choices = {{AddWithComment, false}};
    questions.comments = {{{"taken", "c", "fresh"}, {CommentResult::Save, "fresh"}}};
    const CopyOutcome outcome = Copy(right, *source);
    ASSERT_EQ(questions.commentsAsked.size(), 1u);
    EXPECT_EQ(questions.commentsAsked[0].initial, "c");
    EXPECT_FALSE(questions.commentsAsked[0].initialDistinct);
    EXPECT_EQ(questions.triesDistinct, (std::vector<bool>{false, false, true}));
    ASSERT_NE(outcome.copy, nullptr);
    EXPECT_EQ(right.CommentOf(*outcome.copy), "fresh");
    EXPECT_EQ(source->AddStr, "c");  // the source is left as it was
    EXPECT_EQ(run.LastComment, "fresh");
}

TEST_F(CopyRunTest, RememberedCommentAppliesSilentlyUnlessItIsTaken) {
    TProvods left, right;
    Line(right, "A", 50, "x");
    Line(right, "B", 50, "x");
    Line(right, "B", 50, "second");
    questions.choices = {{AddWithComment, true}};
    questions.comments = {{{}, {CommentResult::Save, "second"}}};
    const CopyOutcome first = Copy(right, *Line(left, "A", 50, "x"));
    ASSERT_NE(first.copy, nullptr);
    EXPECT_EQ(right.CommentOf(*first.copy), "second");

    // "B" with "second" exists: the comment dialog opens with it.
    questions.comments = {{{}, {CommentResult::Save, "third"}}};
    const CopyOutcome taken = Copy(right, *Line(left, "B", 50, "x"));
    ASSERT_EQ(questions.commentsAsked.size(), 2u);
    EXPECT_EQ(questions.commentsAsked[1].initial, "second");
    EXPECT_EQ(right.CommentOf(*taken.copy), "third");
    EXPECT_EQ(run.LastComment, "second");  // changed only right after the choice dialog

    Line(right, "C", 50, "x");
    TProvod* c = Line(left, "C", 50, "x");
    const CopyOutcome silent = Copy(right, *c);
    EXPECT_EQ(questions.commentsAsked.size(), 2u);
    EXPECT_EQ(right.CommentOf(*silent.copy), "second");
    EXPECT_EQ(c->AddStr, "x");
    EXPECT_EQ(questions.asked.size(), 1u);
}

TEST_F(CopyRunTest, InterruptingInTheCommentDialogStopsTheRun) {
    TTransforms left, right;
    Transformer(right, "T");
    questions.choices = {{AddWithComment, false}};
    questions.comments = {{{}, {CommentResult::Abort, ""}}};
    EXPECT_EQ(Copy(right, *Transformer(left, "T")).copy, nullptr);
    EXPECT_TRUE(run.AbortCopy());
    EXPECT_EQ(right.Count(), 1);
}

TEST_F(CopyRunTest, AChangedPartnerTakesTheValuesButKeepsItsIdentifier) {
    TTransforms left, right;
    TTransform* kept = Transformer(right, "T", "old");
    kept->Ident = 7;
    kept->Uk = 4.5;
    kept->Added = 0;
    TTransform* source = Transformer(left, "T", "new");
    source->Ident = 99;
    source->Uk = 4.7;
    questions.updates = {{Update, false}};
    const CopyOutcome outcome = Copy(right, *source);
    EXPECT_EQ(outcome.copy, nullptr);
    EXPECT_EQ(outcome.updated, kept);
    EXPECT_EQ(right.Count(), 1);
    EXPECT_EQ(kept->Ident, 7);
    EXPECT_DOUBLE_EQ(kept->Uk, 4.7);
    EXPECT_EQ(kept->AddStr, "new");
    EXPECT_EQ(kept->Added, 1);  // written at the next save
    ASSERT_NE(outcome.before, nullptr);
    EXPECT_DOUBLE_EQ(static_cast<const TTransform&>(*outcome.before).Uk, 4.5);
    EXPECT_EQ(outcome.before->Added, 0);
    ASSERT_EQ(questions.updatesAsked.size(), 1u);
    EXPECT_EQ(questions.updatesAsked[0].Text(),
              "T отличается: Дополнительная информация; Напряжение короткого замыкания, %");
    EXPECT_TRUE(questions.updatesAsked[0].CopyAllowed());
    EXPECT_TRUE(questions.asked.empty());
}

TEST_F(CopyRunTest, TheUpdateAnswerIsRememberedPerGroupAndEscapeSkipsAlone) {
    TTransforms left, right;
    for (const char* marka : {"T1", "T2", "T3"}) {
        Transformer(right, marka)->Uk = 1;
        Transformer(left, marka)->Uk = 2;
    }
    questions.updates = {{Dismissed, true}, {AddPlainCopy, true}};
    EXPECT_EQ(Copy(right, *left.GetItem(0)).copy, nullptr);
    EXPECT_FALSE(run.TransformersUpdate.has_value());
    EXPECT_NE(Copy(right, *left.GetItem(1)).copy, nullptr);
    EXPECT_NE(Copy(right, *left.GetItem(2)).copy, nullptr);  // remembered: no question
    EXPECT_EQ(right.Count(), 5);
    EXPECT_EQ(questions.updatesAsked.size(), 2u);

    TMetersRefs leftM, rightM;
    rightM.NewElement()->Marka = "M";
    TMetersRef* m = leftM.NewElement();
    m->Marka = "M";
    m->Power = 5;
    questions.updates = {{Update, false}};
    EXPECT_NE(Copy(rightM, *m).updated, nullptr);  // other elements ask for themselves
    ASSERT_EQ(questions.updatesAsked.size(), 3u);
    EXPECT_EQ(questions.updatesAsked[2].group, DuplicateGroup::Others);
}

TEST_F(CopyRunTest, ALineFoundEqualByItsSearchIsAskedAboutButNeverCopied) {
    TProvods left, right;
    Line(right, "AC-70", 70)->R0 = 0.42;
    TProvod* changed = Line(left, "AC-70", 70);
    changed->R0 = 0.43;
    questions.updates = {{AddPlainCopy, true}};
    EXPECT_EQ(Copy(right, *changed).copy, nullptr);
    ASSERT_EQ(questions.updatesAsked.size(), 1u);
    EXPECT_EQ(questions.updatesAsked[0].group, DuplicateGroup::Lines);
    EXPECT_FALSE(questions.updatesAsked[0].CopyAllowed());
    EXPECT_TRUE(questions.asked.empty());  // instead of the duplicate question
    EXPECT_EQ(right.Count(), 1);
}

TEST_F(CopyRunTest, EachElementPairsOnceAnEqualOneFirst) {
    TTransforms left, right;
    TTransform* other = Transformer(right, "T");
    other->Uk = 1;
    Transformer(right, "T")->Uk = 2;
    Transformer(left, "T")->Uk = 2;
    Transformer(left, "T")->Uk = 3;
    Transformer(left, "T")->Uk = 5;
    questions.choices = {{Skip, false}};
    questions.updates = {{Update, false}};
    EXPECT_EQ(Copy(right, *left.GetItem(0)).copy, nullptr);  // equal to the second: a duplicate
    EXPECT_EQ(questions.asked.size(), 1u);
    EXPECT_EQ(Copy(right, *left.GetItem(1)).updated, other);  // the first is still unpaired
    EXPECT_DOUBLE_EQ(other->Uk, 3);
    const CopyOutcome last = Copy(right, *left.GetItem(2));  // nothing left to pair with
    EXPECT_NE(last.copy, nullptr);
    EXPECT_EQ(questions.updatesAsked.size(), 1u);
    EXPECT_EQ(right.Count(), 3);
}

TEST_F(CopyRunTest, CommentsAndGroupsAreFactsOfTheCategory) {
    TTransforms3 t3;
    t3.SetCommentOf(*t3.NewElement(), "three");
    EXPECT_EQ(t3.CommentOf(*t3.GetItem(0)), "three");
    TMetersRefs meters;
    meters.SetCommentOf(*meters.NewElement(), "ignored");
    EXPECT_EQ(meters.CommentOf(*meters.GetItem(0)), "");
    EXPECT_FALSE(meters.FilteredByVoltage());

    const auto reference = NewReference();
    int commented = 0;
    for (int c = 0; c < reference->CategoryCount(); ++c) {
        const TXMLCustomClass& collection = *reference->GetCollection(c);
        commented += collection.HasComment();
        EXPECT_EQ(dynamic_cast<const TXMLClass*>(&collection) != nullptr, collection.HasComment());
        EXPECT_EQ(collection.Holds(*t3.GetItem(0)), std::string(collection.ClassName()) == "TTransforms3");
    }
    EXPECT_EQ(commented, 6);
    EXPECT_EQ(reference->GetCollection(0)->Group(), DuplicateGroup::Lines);
    EXPECT_EQ(reference->GetCollection(4)->Group(), DuplicateGroup::Transformers);
    EXPECT_EQ(reference->GetCollection(15)->Group(), DuplicateGroup::Transformers);
    EXPECT_EQ(reference->GetCollection(kMetersCategory)->Group(), DuplicateGroup::Others);
}

}  // namespace
}  // namespace kelm
