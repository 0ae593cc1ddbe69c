#pragma once
// What a person reads and presses on a shown form: every caption whole, no
// access key on two of its visible controls (but those listed as allowed).

#include "platform/forms/Form.h"
#include "platform/forms/Testing.h"

#include <gtest/gtest.h>

inline void expectWholeAndDistinct(forms::Form& form, const QString& state,
                                   const QStringList& sharedAllowed = {})
{
    SCOPED_TRACE(state.toStdString());
    const auto text = [](const QStringList& l) {
        return l.join(QStringLiteral("; ")).toStdString();
    };
    EXPECT_EQ(text(forms::testing::cutCaptions(form)), "");
    EXPECT_EQ(text(forms::testing::sharedAccessKeys(form)), text(sharedAllowed));
}
