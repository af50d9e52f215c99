#pragma once

// The addresses of the product's maker that the windows hand to the desktop to open.
namespace glanex {

// The product's web page.
inline constexpr char kProductWebPage[] = "https://www.glanex.example/sharewares";
// The mail address the users write to.
inline constexpr char kContactAddress[] = "glanex@glanex.example";
// The reseller's page about the product, and its order form.
inline constexpr char kResellerProductSheet[] = "https://revendeur.example/glanex";
inline constexpr char kResellerOrderPage[] = "https://revendeur.example/glanex/commande";

}  // namespace glanex
