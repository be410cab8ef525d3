#pragma once

#include <gtest/gtest.h>

#include <string>

// Names each row of a parameterised test after its `name` field.
struct RowName {
    template <class Row>
    std::string operator()(const ::testing::TestParamInfo<Row>& info) const
    {
        return info.param.name;
    }
};
