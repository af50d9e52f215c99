#pragma once

// The addresses of the product's maker that the windows hand to the desktop to open.
namespace glanex {

// The product's web page.
inline constexpr char kProductWebPage[] = "https://www.glanex.example/sharewares";

}  // namespace glanex
