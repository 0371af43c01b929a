#pragma once

// The most memory, in bytes, that a world of the current parameters holds at once: every
// alien with its brain (green offspring up to the band's seats when they are on), both
// brain pools full, the brain copies that breeding and loading a pool file make, and the
// bullets at the bounds of worldBounds. An estimate from the sizes of the objects and of
// the allocator's bookkeeping, meant to be near the truth and never far below it. Only
// meaningful for values that pass the parameter rules on their own.
double estimateWorldBytes();
