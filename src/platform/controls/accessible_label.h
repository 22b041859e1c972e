#pragma once

#include <QString>
#include <cstdint>

namespace platform {

// A caption as a screen reader should say it: on one line and without its
// access key, whether written apart as in "色相(&H)" or inside a word.
QString SpokenCaption(const QString& caption);

// A colour sample's text for a screen reader: the colour (packed 0x00BBGGRR)
// in HTML notation, as the Edit menu copies it.
QString SampleText(std::uint32_t colour);

// Has Qt describe every Label by its Role from now on. Idempotent.
void DescribeLabelsByRole();

} // namespace platform
