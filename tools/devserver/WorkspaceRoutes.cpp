#include "Exchange.h"
#include "SeedData.h"

namespace devserver {

namespace {

void tenants(Exchange& exchange) {
    exchange.reply(200, {{"tenants", {{{"id", demoTenantID}, {"name", demoTenantName}, {"plan_type", "pro"},
                                       {"balance_credits", exchange.state.balanceCredits}}}}});
}

void usageStats(Exchange& exchange) {
    const double credits = exchange.state.balanceCredits;
    exchange.reply(200, {{"balance_credits", credits},
                         {"credits", credits + 50},
                         {"available_credits", credits},
                         {"balance", {{"credits", credits}, {"planType", "pro"}}}});
}

void favorites(Exchange& exchange) { exchange.reply(200, {{"favorites", exchange.state.favorites}}); }

void products(Exchange& exchange) { exchange.reply(200, {{"products", exchange.state.products}}); }

void socialAccounts(Exchange& exchange) {
    exchange.reply(200, {{"accounts", exchange.state.accounts}, {"connectionLocks", exchange.state.settings.locks}});
}

}  // namespace

void addWorkspaceRoutes(Router& router) {
    router.add("GET", "/api/tenants", Tenant::none, true, tenants);
    router.add("GET", "/api/ai-insights/usage/stats", Tenant::query, true, usageStats);
    router.add("GET", "/api/ai-insights/favorites", Tenant::query, true, favorites);
    router.add("GET", "/api/dashboard/products", Tenant::query, true, products);
    router.add("GET", "/api/social-accounts", Tenant::query, true, socialAccounts);
}

}  // namespace devserver
