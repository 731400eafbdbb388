#pragma once
// A test double among the product's sources: the layering check must reject this tree.
