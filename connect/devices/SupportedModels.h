#pragma once
#include "common/SupportedModel.h"

#include <array>

// Rows in the order QV8, ZY5, WK3; each names the page that serves the model.
extern const std::array<SupportedModel, 3> supported_models;

// The first row whose match id occurs in the path (case-sensitive); null when none does.
const SupportedModel *model_of_path(const QString &dev_config_path);
