#pragma once

#include "catalogue.h"
#include "collection_index.h"
#include "payload.h"
#include "update_offer.h"
#include "update_signing.h"

#include <filesystem>
#include <httplib.h>
#include <map>
#include <memory>
#include <mutex>
#include <string>

// Everything the catalogue answers, by path (letter case ignored, as the original site's
// server did): pages, game records, SWF files, pictures, the upgrade offer and a bulk body.
class CatalogueSite {
public:
    // dataDir may hold update.conf, files/ (the listed upgrade files) and update.key (the key
    // the offer is signed with; without it no signature is served); empty for none.
    // index: where a collection's pictures and download counts are kept; none for the demo.
    explicit CatalogueSite(Catalogue catalogue, std::filesystem::path dataDir = {},
                           std::shared_ptr<CollectionIndex> index = {});

    // path: the request's path without the query (a proxy's absolute form already cut off);
    // host: what links on the pages should point at.
    Reply answer(const httplib::Request& request, const std::string& path, const std::string& host);

    const Catalogue& catalogue() const { return catalogue_; }

private:
    struct Asset {
        std::string contentType;
        Payload body;
        const Game* game = nullptr; // set for a collection's files, which carry validators
        bool counted = false;       // a download of the game itself
    };

    void addGameAssets();
    void addCollectionAssets(const Game& game);
    Reply assetReply(const httplib::Request& request, const Asset& asset) const;
    Reply page(const std::string& lowerPath, const httplib::Request& request,
               const std::string& origin) const;
    std::string rankingPage(const std::string& origin) const;
    Reply gameRecord(const httplib::Request& request, const std::string& host) const;
    Reply upgradeFile(const std::string& name) const;
    // With offerMutex_ held.
    std::optional<std::string> upgradeFileContentLocked(const std::string& name) const;
    std::string informationLocked(const std::string& origin) const;
    Reply information(const std::string& origin) const;
    Reply signature(const std::string& origin) const;
    Reply adminUpdate(const httplib::Request& request);

    Catalogue catalogue_;
    std::filesystem::path dataDir_;
    std::map<std::string, Asset> assets_; // by lower-case path
    mutable std::mutex offerMutex_;
    UpdateOffer offer_;
    std::optional<update_signing::SecretKey> signingKey_;
    std::shared_ptr<CollectionIndex> index_;
};
