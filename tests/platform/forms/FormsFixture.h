#pragma once
// The runtime's tests: hooks on, and every form unloaded after each test with
// nothing left unanswered.

#include "platform/forms/Form.h"
#include "platform/forms/Testing.h"

#include <gmock/gmock.h>

class FormsFixture : public ::testing::Test {
protected:
    void SetUp() override { forms::testing::enable(); }
    void TearDown() override
    {
        for (forms::Form* f : forms::Form::loadedForms())
            f->Unload();
        EXPECT_THAT(forms::testing::takeFailures(), ::testing::IsEmpty());
    }
};
