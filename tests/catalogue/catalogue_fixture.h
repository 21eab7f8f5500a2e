#pragma once

#include "catalogue_server.h"
#include "swf_writer.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <httplib.h>
#include <memory>
#include <string>
#include <vector>

// One in-process catalogue server on a free loopback port, shared by a test suite; it carries
// the games that fail on purpose.
class CatalogueFixture : public testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();

    static int port() { return port_; }
    static std::string host() { return "127.0.0.1:" + std::to_string(port_); }
    static std::string origin() { return "http://" + host(); }
    static const Catalogue& catalogue() { return server_->catalogue(); }

    // A GET through a fresh client that follows no redirections.
    static httplib::Result get(const std::string& target, const httplib::Headers& headers = {});
    // Bytes sent as they are; everything the server answers until it closes or stays
    // silent for the given time.
    static std::string rawExchange(const std::string& request,
                                   std::chrono::milliseconds patience = std::chrono::seconds(5));

private:
    static inline std::unique_ptr<CatalogueServer> server_;
    static inline int port_ = 0;
};

// GBK body to UTF-8; fails the test when the bytes are not GBK.
std::string decodeGbk(const std::string& body);
// Every href of a page, its "&amp;" read as "&".
std::vector<std::string> links(const std::string& html);
// Path and query of an absolute http address.
std::string pathOf(const std::string& address);

// A file's bytes, its folders made as needed; and back.
void writeFile(const std::filesystem::path& file, const std::string& bytes);
std::string readFile(const std::filesystem::path& file);
std::string bytesOf(const swf::Bytes& bytes);
